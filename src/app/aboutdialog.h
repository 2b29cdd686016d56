#ifndef ABOUTDIALOG_H
#define ABOUTDIALOG_H

#include <QDialog>

// The program's version, the Qt it was built with and runs on, its
// licence, and where its log and journal are.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(QWidget *parent, const QString &logFolder, const QString &journalFolder);
};

#endif // ABOUTDIALOG_H
