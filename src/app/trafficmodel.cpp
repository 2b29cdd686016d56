#include "trafficmodel.h"

#include "jobwords.h"

#include <QFont>

#include <algorithm>

TrafficModel::TrafficModel(QObject *parent, int limit)
    : QAbstractListModel(parent)
    , limit(limit)
{
}

int TrafficModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(entries.size());
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(entries.size()))
        return QVariant();
    const TrafficEntry &entry = entries[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole: {
        // A job's last word in the window's words; the log and a saved
        // text keep the worker's own.
        if (entry.kind != TrafficEntry::JobEnded)
            return entry.line();
        TrafficEntry shown = entry;
        shown.words = JobWords::shown(entry.words);
        return shown.line();
    }
    case Qt::ToolTipRole: {
        // A long frame, shortened in the middle on screen, in full: 16
        // bytes to a row.
        if (entry.bytes.size() <= 16)
            return QVariant();
        QString rows = entry.words;
        for (int at = 0; at < entry.bytes.size(); at += 16)
            rows += QLatin1Char('\n') + QString::fromLatin1(entry.bytes.mid(at, 16).toHex(' ').toUpper());
        return rows;
    }
    case Qt::ForegroundRole:
        return entry.failure && failureColour.isValid() ? QVariant(failureColour) : QVariant();
    case Qt::FontRole:
        if (entry.kind == TrafficEntry::JobStarted || entry.kind == TrafficEntry::JobEnded) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return QVariant();
    case WholeLineRole:
        return entry.failure || entry.kind == TrafficEntry::JobEnded;
    default:
        return QVariant();
    }
}

void TrafficModel::add(const QVector<TrafficEntry> &added)
{
    // Only the newest `limit` of the batch can stay; room is made for them
    // by the oldest lines going first.
    const int taken = std::min(int(added.size()), limit);
    const int dropped = std::max(0, int(entries.size()) + taken - limit);
    if (dropped > 0) {
        beginRemoveRows(QModelIndex(), 0, dropped - 1);
        entries.erase(entries.begin(), entries.begin() + dropped);
        endRemoveRows();
    }
    if (taken == 0)
        return;
    const int first = int(entries.size());
    beginInsertRows(QModelIndex(), first, first + taken - 1);
    entries.insert(entries.end(), added.end() - taken, added.end());
    endInsertRows();
}

void TrafficModel::clear()
{
    beginResetModel();
    entries.clear();
    endResetModel();
}

QString TrafficModel::text(QList<int> rows) const
{
    std::sort(rows.begin(), rows.end());
    QString lines;
    for (int row : rows) {
        if (row >= 0 && row < int(entries.size()))
            lines += entries[size_t(row)].line() + QLatin1Char('\n');
    }
    return lines;
}

QString TrafficModel::text() const
{
    QString lines;
    for (const TrafficEntry &entry : entries)
        lines += entry.line() + QLatin1Char('\n');
    return lines;
}

void TrafficModel::setFailureColour(const QColor &colour)
{
    failureColour = colour;
    if (!entries.empty())
        emit dataChanged(index(0), index(int(entries.size()) - 1), {Qt::ForegroundRole});
}
