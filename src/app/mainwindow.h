#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "mythread.h"

#include <QMainWindow>
#include <QString>
#include <QTranslator>

namespace Ui {
class MainWindow;
}

// The configurator's one window. It owns the form, the device worker and the
// translation; every user action ends in one of its private slots, and the
// worker talks back only through `response`.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    // The worker's own destructor waits for a running job, so closing the
    // window in the middle of a Read or Write is safe.
    ~MainWindow() override;

private slots:
    void myRead();
    void myLoad();
    void myUpLoad();        // reached only through the meta-object system, by name
    void myWrite();
    void mySave();
    void myResponse(QString s);

private:
    // Reads a settings file into the form and the worker's record; an empty
    // name asks the operator for the file.
    void loadConfig(const QString &fileName);
    // Puts one setting of a settings file where it belongs: its form field,
    // or the worker's record for the entries the form does not show.
    void applyParam(const QString &key, const QString &value);
    // The form's 22 entries over the worker's record, which keeps the rest.
    DeviceSettings formRecord() const;
    // One of the 22 entries the form shows, read from or put into its widget.
    QString formEntry(int index) const;
    void showEntry(int index, const QString &value);
    // The connection text and keep-connection flag every job starts from.
    JobRequest connectionRequest() const;

    friend class TestWindowActions;   // reaches `worker` to see what a request handed over

    Ui::MainWindow *ui;
    MyThread worker;
    QTranslator translator;
    QString translationFile;
    QString languagesDir;
};

#endif // MAINWINDOW_H
