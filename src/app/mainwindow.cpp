#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "devicesettings.h"
#include "filedialogs.h"
#include "settingkeys.h"
#include "settingsfile.h"
#include "uploadlist.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>

namespace {

// The form field of every record entry that has one, by entry index; the
// check box of KeepCon is handled on its own.
QLineEdit *Ui::MainWindow::*entryField(int index)
{
    using Form = Ui::MainWindow;
    switch (index) {
    case DeviceSettings::apnServer: return &Form::apnServerLineEdit;
    case DeviceSettings::apnLogin: return &Form::apnLoginLineEdit;
    case DeviceSettings::apnPassword: return &Form::apnPasswordLineEdit;
    case DeviceSettings::TxSetting: return &Form::TxSettingLineEdit;
    case DeviceSettings::RxSetting: return &Form::RxSettingLineEdit;
    case DeviceSettings::ToutWaitAnsw: return &Form::ToutAnswLineEdit;
    case DeviceSettings::ToutWaitNextPacket: return &Form::ToutNextLineEdit;
    case DeviceSettings::ToutBetwenBytes: return &Form::ToutBetwenLineEdit;
    case DeviceSettings::TryNum: return &Form::TryNumLineEdit;
    case DeviceSettings::PhNum1: return &Form::PhNum1LineEdit;
    case DeviceSettings::PhNum2: return &Form::PhNum2LineEdit;
    case DeviceSettings::PhNum3: return &Form::PhNum3LineEdit;
    case DeviceSettings::PhNum4: return &Form::PhNum4LineEdit;
    case DeviceSettings::MirrServ1: return &Form::MirrServ1LineEdit;
    case DeviceSettings::MirrServ2: return &Form::MirrServ2LineEdit;
    case DeviceSettings::MirrServ3: return &Form::MirrServ3LineEdit;
    case DeviceSettings::MirrServ4: return &Form::MirrServ4LineEdit;
    case DeviceSettings::MirrPort1: return &Form::MirrPort1LineEdit;
    case DeviceSettings::MirrPort2: return &Form::MirrPort2LineEdit;
    case DeviceSettings::MirrPort3: return &Form::MirrPort3LineEdit;
    case DeviceSettings::MirrPort4: return &Form::MirrPort4LineEdit;
    default: return nullptr;
    }
}

// Check boxes are stored as numbers; anything that is not one reads as 0.
bool isCheckedValue(const QString &value)
{
    return value.toInt(nullptr, 10) != 0;
}

// Settings files carry their keys and values as 8-bit text: what Latin-1
// cannot hold becomes '?', and the bytes are then read back as UTF-8.
QString eightBitText(const QString &text)
{
    return QString::fromUtf8(text.toLatin1());
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    languagesDir = QCoreApplication::applicationDirPath();
    languagesDir.append(QLatin1String("/languages"));
    translationFile = languagesDir;
    translationFile.append(QLatin1String("/translate_ru"));
    // Without the translation the form keeps its English texts; the
    // translator is installed all the same, it then simply finds nothing.
    const bool translated = translator.load(translationFile, QString(), QString(), QString());
    Q_UNUSED(translated)
    // Before setupUi: the form reads its texts only once.
    QCoreApplication::installTranslator(&translator);

    ui->setupUi(this);

    connect(ui->pushButtonRead, &QAbstractButton::clicked, this, &MainWindow::myRead);
    connect(ui->pushButtonLoad, &QAbstractButton::clicked, this, &MainWindow::myLoad);
    connect(ui->pushButtonWrite, &QAbstractButton::clicked, this, &MainWindow::myWrite);
    connect(ui->pushButtonSave, &QAbstractButton::clicked, this, &MainWindow::mySave);
    connect(&worker, &MyThread::response, this, &MainWindow::myResponse);

    // Relative on purpose: the start-up file belongs to the working directory.
    loadConfig(QStringLiteral("simconf.xml"));

    printf("language %s\n", QLocale::system().name().toLatin1().constData());
    fflush(stdout);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::myRead()
{
    // TODO: copy the connection and keep-connection flag into the worker and start JobRead.
}

void MainWindow::myLoad()
{
    loadConfig(QString(""));
}

void MainWindow::myUpLoad()
{
    const UploadList list = readUploadList(QStringLiteral("python/uploader.xml"));
    if (!list.opened) {
        ui->statusBar->showMessage(tr("There is not the update files"), 0);
        return;
    }
    // TODO: hand list.files to the worker and start JobUpload.
}

void MainWindow::myWrite()
{
    // TODO: copy the form into the worker's record and start JobWrite.
}

void MainWindow::mySave()
{
    // TODO: write the 37 settings to the file the operator picks.
}

void MainWindow::myResponse(QString s)
{
    ui->statusBar->showMessage(s, 0);
}

void MainWindow::loadConfig(const QString &fileName)
{
    QString name = fileName;
    if (name.isEmpty())
        name = askOpenFileName(this, tr("Open Config file"), tr("Xml Files (*.xml)"));

    // A cancelled dialog leaves the name empty and fails to open as well.
    const SettingsFileContent content = readSettingsFile(name);
    if (content.status == SettingsFileContent::NotOpened) {
        ui->statusBar->showMessage(tr("There is not the configaration file"), 0);
        return;
    }
    // A damaged document brings no pairs and, like a complete one, no message.
    for (const SettingsPair &pair : content.pairs)
        applyParam(eightBitText(pair.first), eightBitText(pair.second));
}

void MainWindow::applyParam(const QString &key, const QString &value)
{
    const SettingKey target = SettingKey::lookup(key);
    switch (target.target) {
    case SettingKey::ComPort:
        ui->comPortLineEdit->setText(value);
        return;
    case SettingKey::EnableKeepCon:
        ui->EnableKeepConncheckBox->setChecked(isCheckedValue(value));
        return;
    case SettingKey::Entry:
        break;
    case SettingKey::Unknown:
        return;
    }

    if (target.index == DeviceSettings::KeepCon) {
        ui->KeepConncheckBox->setChecked(isCheckedValue(value));
    } else if (QLineEdit *Ui::MainWindow::*field = entryField(target.index)) {
        (ui->*field)->setText(value);
    } else {
        // The form has no field for it, so the record is its only home.
        worker.setSetting(target.index, value);
    }
}
