#ifndef TRAFFICMODEL_H
#define TRAFFICMODEL_H

#include "traffic.h"

#include <QAbstractListModel>
#include <QColor>
#include <QVector>

#include <deque>

// The traffic with the modem as a list of lines, the newest last, at most
// `limit` of them: the oldest go first.
class TrafficModel : public QAbstractListModel {
    Q_OBJECT

public:
    static constexpr int DefaultLimit = 10000;
    // True for a line to be read whole however long it is: a failure, whose
    // reason may come last, and a job's outcome.
    static constexpr int WholeLineRole = Qt::UserRole;

    explicit TrafficModel(QObject *parent = nullptr, int limit = DefaultLimit);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The line, its colour when it is a failure, bold for a job's start and
    // end, and whether it is to be shown whole.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void add(const QVector<TrafficEntry> &added);
    void clear();
    // The lines of `rows`, in the list's order, each ended by a line break.
    QString text(QList<int> rows) const;
    QString text() const;
    // The colour failures stand out in; it suits the palette of the view.
    void setFailureColour(const QColor &colour);

private:
    const int limit;
    std::deque<TrafficEntry> entries;
    QColor failureColour;
};

#endif // TRAFFICMODEL_H
