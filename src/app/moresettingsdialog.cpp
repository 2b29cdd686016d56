#include "moresettingsdialog.h"
#include "ui_moresettingsdialog.h"

#include "devicesettings.h"

MoreSettingsDialog::MoreSettingsDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::MoreSettingsDialog>())
{
    ui->setupUi(this);
}

MoreSettingsDialog::~MoreSettingsDialog() = default;

QLineEdit *MoreSettingsDialog::field(int index) const
{
    if (DeviceSettings::hasFormWidget(index))
        return nullptr;
    return findChild<QLineEdit *>(DeviceSettings::key(index) + QLatin1String("LineEdit"));
}
