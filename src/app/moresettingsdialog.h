#ifndef MORESETTINGSDIALOG_H
#define MORESETTINGSDIALOG_H

#include <QDialog>

#include <memory>

namespace Ui {
class MoreSettingsDialog;
}

// The modem's settings that the main form has no room for, on a page of
// their own beside the window. The page only holds the fields; the window
// fills them and takes their values as it does with its own.
class MoreSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit MoreSettingsDialog(QWidget *parent = nullptr);
    ~MoreSettingsDialog() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::MoreSettingsDialog> ui;
};

#endif // MORESETTINGSDIALOG_H
