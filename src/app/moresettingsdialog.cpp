#include "moresettingsdialog.h"
#include "ui_moresettingsdialog.h"

MoreSettingsDialog::MoreSettingsDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::MoreSettingsDialog>())
{
    ui->setupUi(this);
}

MoreSettingsDialog::~MoreSettingsDialog() = default;

void MoreSettingsDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
