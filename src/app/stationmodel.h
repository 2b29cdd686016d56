#ifndef STATIONMODEL_H
#define STATIONMODEL_H

#include "fleetprovisioner.h"
#include "provisiontable.h"

#include <QAbstractTableModel>

#include <vector>

// The station's rows: one per row of the fleet's table, in its order, and
// one more for each modem that got no row; each with its port, state, the
// settings its Write changed and the last word about it.
class StationModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Id, Line, Port, State, Changed, Message, ColumnCount };
    enum RowState { Waiting, Reading, Writing, Verifying, Verified, VerifiedEarlier, Failed, NoRowMatched, NoRowLeft };

    explicit StationModel(QObject *parent = nullptr);

    // The table's rows, those an earlier run verified marked so.
    void setTable(const ProvisionTable &table, const std::vector<bool> &verifiedEarlier = {});
    void portChanged(const FleetProvisioner::PortState &state);
    void modemDone(const FleetProvisioner::ModemOutcome &outcome);

    QString journalOf(int row) const { return rows.at(size_t(row)).journal; }
    // Whether a row of the table is verified, by this run or an earlier one.
    bool isVerified(int row) const;
    int verifiedCount() const;
    int tableRows() const { return tableRowCount; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The state a modem's outcome leaves its row in.
    static RowState stateOf(ProvisionReport::Outcome outcome);
    // The state in the window's language.
    static QString stateText(RowState state, int block = -1);

private:
    struct Row {
        QString id;
        int line = 0;
        QString port;
        RowState state = Waiting;
        int block = -1;
        QStringList changed;
        QString message;
        QString journal;
    };
    void rowChanged(int row);

    std::vector<Row> rows;
    int tableRowCount = 0;
};

#endif // STATIONMODEL_H
