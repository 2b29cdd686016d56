#ifndef ABOUTDIALOG_H
#define ABOUTDIALOG_H

#include <QDialog>

class QLabel;

// The program's version, the Qt it was built with and runs on, its
// licence, and where its log and journal are.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(QWidget *parent, QString logFolder, QString journalFolder);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();

    QString logFolder;
    QString journalFolder;
    QLabel *text;
};

#endif // ABOUTDIALOG_H
