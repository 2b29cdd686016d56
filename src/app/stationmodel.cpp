#include "stationmodel.h"

#include "jobwords.h"
#include "trafficpage.h"

#include <QGuiApplication>
#include <QPalette>

StationModel::StationModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void StationModel::setTable(const ProvisionTable &table, const std::vector<bool> &verifiedEarlier)
{
    beginResetModel();
    rows.clear();
    rows.reserve(size_t(table.rows.size()));
    for (int r = 0; r < table.rows.size(); ++r) {
        Row row;
        row.id = table.rows.at(r).id;
        row.line = table.rows.at(r).line;
        if (size_t(r) < verifiedEarlier.size() && verifiedEarlier[size_t(r)])
            row.state = VerifiedEarlier;
        rows.push_back(std::move(row));
    }
    tableRowCount = table.rows.size();
    endResetModel();
}

void StationModel::portChanged(const FleetProvisioner::PortState &state)
{
    using Stage = FleetProvisioner::PortState::Stage;
    if (state.row < 0 || state.row >= tableRowCount)
        return;
    Row &row = rows[size_t(state.row)];
    switch (state.stage) {
    case Stage::Reading:
        row.state = Reading;
        break;
    case Stage::Writing:
        row.state = Writing;
        break;
    case Stage::Verifying:
        row.state = Verifying;
        break;
    default:
        return;
    }
    row.port = state.port;
    row.block = state.block;
    rowChanged(state.row);
}

void StationModel::modemDone(const FleetProvisioner::ModemOutcome &outcome)
{
    // A modem that comes back holding its verified row leaves the row as it is.
    if (outcome.result == ProvisionReport::HoldsVerifiedRow)
        return;
    const RowState state = stateOf(outcome.result);
    int index = outcome.row;
    if (index < 0 || index >= tableRowCount) {
        index = int(rows.size());
        beginInsertRows(QModelIndex(), index, index);
        rows.emplace_back();
        endInsertRows();
    }
    Row &row = rows[size_t(index)];
    row.port = outcome.port;
    row.state = state;
    row.changed = outcome.changed;
    row.message = outcome.message;
    row.journal = outcome.journal;
    rowChanged(index);
}

bool StationModel::isVerified(int row) const
{
    const RowState state = rows.at(size_t(row)).state;
    return row < tableRowCount && (state == Verified || state == VerifiedEarlier);
}

int StationModel::verifiedCount() const
{
    int count = 0;
    for (int row = 0; row < tableRowCount; ++row)
        count += isVerified(row);
    return count;
}

void StationModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int StationModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int StationModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StationModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= rows.size())
        return QVariant();
    const Row &row = rows[size_t(index.row())];
    if (role == Qt::ForegroundRole && row.state == Failed)
        return TrafficPage::failureColour(QGuiApplication::palette());
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    switch (index.column()) {
    case Id:
        return row.id;
    case Line:
        return row.line > 0 ? QVariant(row.line) : QVariant();
    case Port:
        return row.port;
    case State:
        return stateText(row.state, row.block);
    case Changed:
        return row.changed.join(role == Qt::ToolTipRole ? QLatin1String("\n") : QLatin1String("; "));
    case Message:
        return JobWords::shown(row.message);
    }
    return QVariant();
}

QVariant StationModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Id:
        return tr("Id");
    case Line:
        return tr("Line");
    case Port:
        return tr("Port");
    case State:
        return tr("State");
    case Changed:
        return tr("Changed");
    case Message:
        return tr("Message");
    }
    return QVariant();
}

StationModel::RowState StationModel::stateOf(ProvisionReport::Outcome outcome)
{
    switch (outcome) {
    case ProvisionReport::Verified:
    case ProvisionReport::HoldsVerifiedRow:
        return Verified;
    case ProvisionReport::NoRowMatched:
        return NoRowMatched;
    case ProvisionReport::NoRowLeft:
        return NoRowLeft;
    case ProvisionReport::Failed:
        break;
    }
    return Failed;
}

QString StationModel::stateText(RowState state, int block)
{
    switch (state) {
    case Waiting:
        return tr("waiting");
    case Reading:
        return tr("reading");
    case Writing:
        return tr("writing block %1").arg(block + 1);
    case Verifying:
        return tr("verifying");
    case Verified:
        return tr("verified");
    case VerifiedEarlier:
        return tr("verified earlier");
    case Failed:
        return tr("failed");
    case NoRowMatched:
        return tr("no row matched");
    case NoRowLeft:
        return tr("no row left");
    }
    return QString();
}
