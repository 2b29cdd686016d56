#ifndef TRAFFICPAGE_H
#define TRAFFICPAGE_H

#include "filedialogs.h"
#include "traffic.h"

#include <QDialog>

#include <memory>

class TrafficModel;

namespace Ui {
class TrafficPage;
}

// Every frame sent to the modem and received from it, and each job's start
// and outcome, as they happen, beside the window: the lines can be copied,
// saved as text and cleared, and the folder of the log opened.
class TrafficPage : public QDialog {
    Q_OBJECT

public:
    TrafficPage(QWidget *parent, FileDialogAnswer fileDialogs, QString logFolder);
    ~TrafficPage() override;

    // The list follows the newest line while it is scrolled to its end.
    void add(const QVector<TrafficEntry> &entries);
    TrafficModel *model() const { return traffic; }

    // Failures stand out in a red that keeps its contrast on the palette's
    // base, dark or light.
    static QColor failureColour(const QPalette &palette);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void copySelected();
    void saveAsText();
    void openFolder();

    std::unique_ptr<Ui::TrafficPage> ui;
    TrafficModel *traffic;
    FileDialogAnswer fileDialogs;
    QString logFolder;
};

#endif // TRAFFICPAGE_H
