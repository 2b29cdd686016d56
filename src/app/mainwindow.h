#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "activitylog.h"
#include "filedialogs.h"
#include "messagebar.h"
#include "mythread.h"
#include "settingeditors.h"

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QTranslator>

#include <array>
#include <mutex>

namespace Ui {
class MainWindow;
}
class HistoryPage;
class MoreSettingsDialog;
class PortPicker;
class StationPage;
class TrafficPage;
class TrafficRelay;

// The configurator's one window. It owns the form, the device worker and the
// translation; every user action ends in one of its private slots, and the
// worker talks back only through `response`.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // A `fileDialogs` answer, when given, stands in for the open and save
    // dialogs: a caller that cannot click through a modal dialog answers them.
    explicit MainWindow(QWidget *parent = nullptr, FileDialogAnswer fileDialogs = {});
    // The worker's own destructor ends a running Read and waits for a
    // running Write, so the window can go at any moment.
    ~MainWindow() override;

protected:
    // Closing while a Write runs lets it finish first: the modem is never
    // left with half of it.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void myRead();
    void myLoad();
    void myUpLoad();        // reached only through the meta-object system, by name
    void myWrite();
    void mySave();
    void myResponse(QString s);
    void myJobEnded();
    void myMoreSettings();
    void myDetect();
    void myTrafficPage();
    void myHistory();
    void myStation();
    void myLanguage();
    void myTraffic(const QVector<TrafficEntry> &entries);

private:
    // The advice after a failure, naming the window's own controls.
    static QString advice(DeviceProcedures::Advice advice);
    // Reads a settings file into the form and the page of the others; an empty
    // name asks the operator for the file.
    void loadConfig(const QString &fileName);
    // Puts one setting of a settings file into its field, on the main form
    // or on the page of the others, with the bytes the file gives it.
    void applyParam(const QString &key, const QString &value, const QByteArray &bytes = QByteArray());
    // The connection text and keep-connection flag every job starts from.
    JobRequest connectionRequest() const;
    void startJob(int job, const JobRequest &request);
    void showBusy();
    void logMessage(const QString &message);
    // Shows `words` and logs them, or `logged` in their place when given.
    void showStatus(const MessageBar::Words &words, const QString &logged = QString());
    void fitMessage();
    void showStoppable(bool running);
    void stopJob();
    void markForm(bool notFromThisModem);
    void showFormOrigin();
    void appendToLog(const QString &line);
    void showRussian(bool russian);
    void showLanguageButton();

    Ui::MainWindow *ui;
    // The jobs' outcomes, taken over from the worker's thread under a plain
    // lock, which ThreadSanitizer sees (Qt's hand-over of a queued argument
    // it does not), until the window's thread comes to them. Declared before
    // the worker, whose last job may end while the window is destroyed.
    std::mutex endedMutex;
    QList<JobOutcome> ended;
    MyThread worker;   // a child of the window, so it can be found as one
    QTranslator translator;     // the window's Russian
    std::array<QTranslator, 2> qtTranslators;   // Qt's own words in Russian
    QTranslator english;        // the window's English: natural labels and help for the specified source texts
    bool russianShown = false;
    QString translationFile;
    QString languagesDir;
    MoreSettingsDialog *moreSettings = nullptr;   // a child of the window
    PortPicker *portPicker = nullptr;             // a child of the Connection field
    TrafficPage *trafficPage = nullptr;           // a child of the window
    TrafficRelay *trafficRelay = nullptr;         // a child of the window
    HistoryPage *historyPage = nullptr;           // a child of the window
    StationPage *stationPage = nullptr;           // a child of the window
    ActivityLog log;
    bool logFailureSaid = false;
    QString journalFolder;
    SettingEditors editors;
    FileDialogAnswer fileDialogs;
    bool closeWhenWritten = false;   // a close waits for the running Write
    bool closeWhenStationStopped = false;   // and for the station's ports
    bool stoppable = false;          // a Read or a detection runs: Read is its Stop
    bool formNotFromModem = false;   // the last Read failed or was stopped
    QElapsedTimer jobTimer;          // since the running or last job started
    QSize formSize;                  // the window's size with a one-line message
};

#endif // MAINWINDOW_H
