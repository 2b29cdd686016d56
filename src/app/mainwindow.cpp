#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "aboutdialog.h"
#include "connectiontext.h"
#include "devicesettings.h"
#include "filedialogs.h"
#include "historypage.h"
#include "jobwords.h"
#include "messagebar.h"
#include "moresettingsdialog.h"
#include "networkaddress.h"
#include "portpicker.h"
#include "recentconnections.h"
#include "serialports.h"
#include "settingsfile.h"
#include "settingsvalues.h"
#include "stationpage.h"
#include "trafficpage.h"
#include "trafficrelay.h"
#include "uploadlist.h"
#include "userfolders.h"
#include "usersettings.h"
#include "workingfolder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <iterator>
#include <cstdio>

namespace {

// The remembered language: "en" or "ru"; none means Russian.
const char LanguageKey[] = "window/language";

// Qt's own translations the window uses.
const char *const qtCatalogues[] = {"qtbase_ru", "qtserialport_ru"};

QString qtTranslationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

// The file the upload request reads, relative to the working directory.
const char uploadListFile[] = "python/uploader.xml";

} // namespace

MainWindow::MainWindow(QWidget *parent, FileDialogAnswer fileDialogs)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , worker(this)
    , log(UserFolders::logFolder())
    , journalFolder(UserFolders::journalFolder())
    , fileDialogs(std::move(fileDialogs))
{
    languagesDir = QCoreApplication::applicationDirPath();
    languagesDir.append(QLatin1String("/languages"));
    translationFile = languagesDir;
    translationFile.append(QLatin1String("/translate_ru"));
    // Without the translation the form keeps its English texts, and there
    // is no language to switch to.
    const bool russianAvailable = translator.load(translationFile, QString(), QString(), QString());
    // Without it the English window shows the form's source texts.
    const bool englishFound = english.load(QStringLiteral("translate_en"), languagesDir);
    Q_UNUSED(englishFound)
    // Qt's own words (its dialogs' buttons, a field's context menu) in
    // Russian too: shipped beside the window's on Windows, the system's
    // elsewhere.
    for (size_t i = 0; i < std::size(qtCatalogues); ++i) {
        const QString catalogue = QLatin1String(qtCatalogues[i]);
        const bool found = qtTranslators.at(i).load(catalogue, languagesDir)
            || qtTranslators.at(i).load(catalogue, qtTranslationsFolder());
        Q_UNUSED(found)
    }
    // Russian unless the user chose English. Before setupUi, so that the
    // form's texts come translated the first time.
    showRussian(russianAvailable && userSettings().value(QLatin1String(LanguageKey)).toString() != QLatin1String("en"));

    ui->setupUi(this);
    moreSettings = new MoreSettingsDialog(this);
    editors.attach(ui->centralWidget, moreSettings);

    connect(ui->pushButtonRead, &QAbstractButton::clicked, this, &MainWindow::myRead);
    connect(ui->pushButtonLoad, &QAbstractButton::clicked, this, &MainWindow::myLoad);
    connect(ui->pushButtonWrite, &QAbstractButton::clicked, this, &MainWindow::myWrite);
    connect(ui->pushButtonSave, &QAbstractButton::clicked, this, &MainWindow::mySave);
    connect(&worker, &MyThread::response, this, &MainWindow::myResponse);
    connect(&worker, &MyThread::jobEnded, this, [this](const JobOutcome &outcome) {
        {
            std::lock_guard<std::mutex> locker(endedMutex);
            ended.append(outcome);
        }
        QMetaObject::invokeMethod(this, &MainWindow::myJobEnded, Qt::QueuedConnection);
    }, Qt::DirectConnection);
    // Without the keep-connection register Keep Connection is neither read
    // nor written, so it cannot be ticked then.
    ui->KeepConncheckBox->setEnabled(ui->EnableKeepConncheckBox->isChecked());
    connect(ui->EnableKeepConncheckBox, &QAbstractButton::toggled, ui->KeepConncheckBox, &QWidget::setEnabled);
    connect(ui->pushButtonMore, &QAbstractButton::clicked, this, &MainWindow::myMoreSettings);
    ui->pushButtonLanguage->setVisible(russianAvailable);
    showLanguageButton();
    connect(ui->pushButtonLanguage, &QAbstractButton::clicked, this, &MainWindow::myLanguage);
    portPicker = new PortPicker(ui->comPortLineEdit);
    connect(portPicker, &PortPicker::detectRequested, this, &MainWindow::myDetect);

    // The traffic is shown and logged on this thread, as it comes.
    trafficPage = new TrafficPage(this, this->fileDialogs, log.folder());
    trafficRelay = new TrafficRelay(this);
    connect(&worker, &MyThread::traffic, trafficRelay, &TrafficRelay::take, Qt::DirectConnection);
    connect(trafficRelay, &TrafficRelay::arrived, this, &MainWindow::myTraffic);
    connect(ui->pushButtonTraffic, &QAbstractButton::clicked, this, &MainWindow::myTrafficPage);
    historyPage = new HistoryPage(this, journalFolder);
    connect(ui->pushButtonHistory, &QAbstractButton::clicked, this, &MainWindow::myHistory);
    connect(historyPage, &HistoryPage::loadRequested, this, &MainWindow::loadConfig);
    stationPage = new StationPage(this, this->fileDialogs, journalFolder, &MainWindow::advice);
    connect(ui->pushButtonStation, &QAbstractButton::clicked, this, &MainWindow::myStation);
    connect(stationPage, &StationPage::journalRequested, historyPage, &HistoryPage::showEntry);
    connect(stationPage, &StationPage::runEnded, this, [this] {
        if (closeWhenStationStopped)
            close();
    });
    auto *about = new AboutDialog(this, log.folder(), journalFolder);
    connect(ui->pushButtonAbout, &QAbstractButton::clicked, about, [about] {
        about->show();
        about->raise();
        about->activateWindow();
    });
    // A failure is read whole: the bar wraps it, and the window grows by
    // the lines it takes rather than cover a field.
    formSize = size();
    connect(ui->statusBar, &QStatusBar::messageChanged, this, &MainWindow::fitMessage);
    // A Read or a detection can be stopped; a Write always runs to its end.
    auto *stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(stop, &QShortcut::activated, this, &MainWindow::stopJob);
    ui->comPortLineEdit->setPlaceholderText(
#ifdef Q_OS_WIN
        QStringLiteral("dev=COM3;baud=9600")
#else
        QStringLiteral("dev=/dev/ttyUSB0;baud=9600")
#endif
    );
    logMessage(QStringLiteral("GPRS configurator started, Qt %1, in %2")
                   .arg(QLatin1String(qVersion()), QDir::toNativeSeparators(QDir::currentPath())));

    // The technician's first word is usually the port.
    ui->comPortLineEdit->setFocus();

    // Relative on purpose: the start-up file belongs to the working directory.
    loadConfig(QStringLiteral("simconf.xml"));

    printf("language %s\n", QLocale::system().name().toLatin1().constData());
    fflush(stdout);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showLanguageButton();
        showFormOrigin();
        showStoppable(stoppable);
        portPicker->retranslate();
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::myLanguage()
{
    showRussian(!russianShown);
    userSettings().setValue(QLatin1String(LanguageKey), russianShown ? QStringLiteral("ru") : QStringLiteral("en"));
}

// Installing or removing a translator sends every widget a LanguageChange,
// on which each retranslates itself.
void MainWindow::showRussian(bool russian)
{
    // Each language has its own catalogues: English the window's own only,
    // for Qt speaks English untranslated.
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::removeTranslator(&translator);
    for (QTranslator &qt : qtTranslators)
        QCoreApplication::removeTranslator(&qt);
    if (russian) {
        for (QTranslator &qt : qtTranslators)
            QCoreApplication::installTranslator(&qt);
        QCoreApplication::installTranslator(&translator);
    } else {
        QCoreApplication::installTranslator(&english);
    }
    russianShown = russian;
}

// The button speaks the language it offers, so that whoever cannot read
// the window's present language can still find their own.
void MainWindow::showLanguageButton()
{
    QToolButton *button = ui->pushButtonLanguage;
    if (russianShown) {
        button->setText(QStringLiteral("EN"));
        button->setAccessibleName(QStringLiteral("English"));
        button->setToolTip(QStringLiteral("Show the window in English"));
    } else {
        button->setText(QStringLiteral("RU"));
        button->setAccessibleName(QStringLiteral("Русский"));
        button->setToolTip(QStringLiteral("Показать окно на русском языке"));
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The station's ports each finish the modem they are writing first.
    if (stationPage->isRunning()) {
        event->ignore();
        if (closeWhenStationStopped)
            return;
        const auto answer = QMessageBox::question(
            this, tr("Stop the station?"),
            tr("The station is provisioning modems. Stop it and close the window? Each port finishes the modem it "
               "is writing first."),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes && stationPage->isRunning()) {
            closeWhenStationStopped = true;
            stationPage->stop();
        } else if (answer == QMessageBox::Yes) {
            close();
        }
        return;
    }
    // Every exchange is bounded by the link's time-outs, so the wait is short.
    if (worker.busy() && worker.job() == MyThread::JobWrite) {
        closeWhenWritten = true;
        showStatus([] { return tr("Finishing the Write before closing…"); });
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::myDetect()
{
    // The port in the field first: the technician may know it already. A
    // server in the field is the only place to look, in each framing.
    const QString field = ui->comPortLineEdit->text().trimmed();
    const QString typed = NetworkAddress::parseBare(field) ? field : ConnectionText::part(field, QStringLiteral("dev"));
    QStringList ports = NetworkAddress::namesServer(typed) ? QStringList() : SerialPorts::availableNames();
    if (!typed.isEmpty()) {
        ports.removeAll(typed);
        ports.prepend(typed);
    }
    JobRequest request = connectionRequest();
    request.detectPorts = ports;
    startJob(MyThread::JobDetect, request);
}

// The worker drops a request while a job runs; the technician is told, for
// the running job may be a Read that is about to fill the form anew.
void MainWindow::startJob(int job, const JobRequest &request)
{
    if (!worker.startJob(job, request)) {
        showBusy();
        return;
    }
    jobTimer.start();
    showStoppable(job == MyThread::JobRead || job == MyThread::JobDetect);
}

void MainWindow::showBusy()
{
    showStatus([] { return tr("A job is still running, so this one was not started: try again when it ends"); });
}

// While a Read or a detection runs, Read is its Stop, as Escape is.
void MainWindow::showStoppable(bool running)
{
    stoppable = running;
    ui->pushButtonRead->setText(running ? tr("Stop (Esc)") : QCoreApplication::translate("MainWindow", "&Read"));
}

void MainWindow::stopJob()
{
    if (!stoppable || !worker.busy())
        return;
    // The link gives up its wait within one poll.
    worker.stop();
    showStatus([] { return tr("Stopping…"); });
}

// After a Read that failed or was stopped, the form still shows what it
// showed before, which may be another modem's: it says so until a Read
// or a Load fills it.
void MainWindow::markForm(bool notFromThisModem)
{
    formNotFromModem = notFromThisModem;
    editors.showNotFromModem(notFromThisModem);
    showFormOrigin();
}

void MainWindow::showFormOrigin()
{
    const QString title = QCoreApplication::translate("MainWindow", "GPRS configurator");
    setWindowTitle(formNotFromModem ? tr("%1 — the values shown were not read from this modem").arg(title) : title);
}

void MainWindow::showStatus(const MessageBar::Words &words, const QString &logged)
{
    ui->statusBar->say(words);
    logMessage(logged.isEmpty() ? words() : logged);
}

void MainWindow::fitMessage()
{
    const QSize wanted(formSize.width(), formSize.height() + ui->statusBar->extraHeight());
    if (wanted != minimumSize() || wanted != maximumSize())
        setFixedSize(wanted);
}

void MainWindow::myMoreSettings()
{
    moreSettings->show();
    moreSettings->raise();
    moreSettings->activateWindow();
}

void MainWindow::myTrafficPage()
{
    trafficPage->show();
    trafficPage->raise();
    trafficPage->activateWindow();
}

void MainWindow::myStation()
{
    stationPage->show();
    stationPage->raise();
    stationPage->activateWindow();
}

void MainWindow::myHistory()
{
    historyPage->show();
    historyPage->raise();
    historyPage->activateWindow();
}

void MainWindow::logMessage(const QString &message)
{
    appendToLog(TrafficEntry{QDateTime::currentDateTime(), TrafficEntry::Status, QByteArray(), message, false}.line());
}

void MainWindow::myTraffic(const QVector<TrafficEntry> &entries)
{
    trafficPage->add(entries);
    for (const TrafficEntry &entry : entries)
        appendToLog(entry.line());
}

// A log that cannot be written never stops the work, but the technician
// who counts on it for a problem report is told, once, after whatever the
// window says as it starts.
void MainWindow::appendToLog(const QString &line)
{
    if (log.append(line) || logFailureSaid)
        return;
    logFailureSaid = true;
    QTimer::singleShot(0, this, [this] {
        ui->statusBar->say([this] {
            return tr("The log cannot be written in %1: %2. The window works on without it")
                .arg(QDir::toNativeSeparators(log.folder()), log.errorString());
        });
    });
}

void MainWindow::myRead()
{
    if (stoppable) {
        stopJob();
        return;
    }
    startJob(MyThread::JobRead, connectionRequest());
}

void MainWindow::myLoad()
{
    loadConfig(QString(""));
}

void MainWindow::myUpLoad()
{
    const UploadList list = readUploadList(QString::fromLatin1(uploadListFile));
    if (!list.opened) {
        // Names of an earlier request must not outlive this one.
        worker.clearUploadFiles();
        showStatus([] { return tr("There is not the update files"); });
        return;
    }
    // The upload runs on the connection of the last Read or Write.
    JobRequest request;
    request.portConfig = worker.portConfig();
    request.keepConEnabled = worker.keepConEnabled();
    request.uploadFiles = list.files;
    worker.startJob(MyThread::JobUpload, request);
}

void MainWindow::myWrite()
{
    // Told before the form is judged: the running job may be a Read that is
    // about to fill it anew.
    if (worker.busy()) {
        showBusy();
        return;
    }
    // The settings off the main form reach the modem only once a Read, a
    // Load or the technician's typing has set them; an empty field there
    // may just mean that nobody has looked.
    const QStringList unknown = editors.unknownHiddenLabels();
    if (!unknown.isEmpty()) {
        showStatus([=] {
            return tr("Nothing was written. Read the modem first, or load a complete settings file. Still unknown: %1")
                .arg(unknown.join(QLatin1String(", ")));
        });
        return;
    }
    // A value nobody changed goes back in the bytes the Read or the file
    // gave it, Latin-1 from another tool included.
    const DeviceSettings record = editors.record();
    // A value the modem cannot hold is refused before a byte goes out.
    const SettingProblem problem = record.firstProblem();
    if (problem.exists()) {
        showStatus([=] { return problem.message(); });
        return;
    }
    JobRequest request = connectionRequest();
    request.settings = record;
    // The journal keeps what the modem holds, which the job reads first:
    // since the last Read, the modem may have been swapped or changed.
    request.journalFolder = journalFolder;
    startJob(MyThread::JobWrite, request);
}

void MainWindow::mySave()
{
    const QString name = askSaveFileName(this, fileDialogs, tr("Save Config file"), tr("Xml Files (*.xml)"),
                                         WorkingFolder::dialogStart(), QStringLiteral(".xml"));
    if (name.isEmpty())
        return;

    // A setting nobody has read, loaded or typed is left out rather than
    // stored as a value: loading the file again must not make it known.
    SettingsPairs pairs =
        settingsFilePairs(editors.record(), ui->comPortLineEdit->text(), ui->EnableKeepConncheckBox->isChecked());
    pairs.erase(std::remove_if(pairs.begin(), pairs.end(),
                               [this](const SettingsPair &pair) {
                                   const int index = DeviceSettings::indexOfKey(pair.key);
                                   return index >= 0 && editors.isUnknownHidden(index);
                               }),
                pairs.end());
    const SaveOutcome outcome = saveSettingsFile(name, pairs);
    const QString shownName = QDir::toNativeSeparators(name);
    // An earlier message, a failure perhaps, must not stand beside a save
    // that worked.
    if (!outcome.saved) {
        showStatus([=] { return tr("The configuration file was not saved: %1").arg(outcome.errorString); });
    } else if (const QStringList unknown = editors.unknownHiddenLabels(); !unknown.isEmpty()) {
        showStatus([=] {
            return tr("Saved %1 without the settings still unknown: %2").arg(shownName, unknown.join(QLatin1String(", ")));
        });
    } else {
        showStatus([=] { return tr("Saved %1").arg(shownName); });
    }
    if (outcome.saved)
        WorkingFolder::rememberDialogFolder(name);
}

// The log keeps the worker's own words; the bar says them in the window's.
// A job's last word is said with its outcome, which tells its cause.
void MainWindow::myResponse(QString s)
{
    logMessage(s);
    if (worker.job() == MyThread::JobRead && s.contains(QLatin1String("Readed"))) {
        // The Read has put all 35 entries into the record before saying so.
        editors.showAll(worker.settings());
        markForm(false);
    }
    if (worker.isLastWord(s))
        return;
    JobWords::Context context;
    context.job = worker.job();
    // While the window waits to close, it keeps saying why.
    const bool closing = closeWhenWritten;
    ui->statusBar->say([s, context, closing] {
        const QString shown = JobWords::shown(s, context);
        return closing ? tr("Finishing the Write before closing… %1").arg(shown) : shown;
    });
}

// After the job's last word, if it had one.
void MainWindow::myJobEnded()
{
    JobOutcome outcome;
    {
        std::lock_guard<std::mutex> locker(endedMutex);
        if (ended.isEmpty())
            return;
        outcome = ended.takeFirst();
    }
    showStoppable(false);
    JobWords::Context context;
    context.job = outcome.job;
    context.elapsedMs = jobTimer.isValid() ? jobTimer.elapsed() : -1;
    if (!outcome.succeeded)
        context.failure = outcome.exchange.failure;
    else if (outcome.job == MyThread::JobRead)
        context.answers = int(outcome.exchange.succeeded ? DeviceSettings::allBlocks().count() : 0);
    const QString lastWord = outcome.lastWord;
    ui->statusBar->say([lastWord, context] {
        return lastWord.isEmpty() ? tr("Stopped: nothing was changed") : JobWords::shown(lastWord, context);
    });
    if (outcome.job == MyThread::JobRead && !outcome.succeeded)
        markForm(true);
    if (outcome.succeeded)
        RecentConnections::remember(outcome.detectedConnection.value_or(outcome.connection));
    if (closeWhenWritten) {
        closeWhenWritten = false;
        // A failed Write keeps the window open on its message, which says
        // what the modem now holds and to write again.
        if (outcome.succeeded)
            close();
        return;
    }
    if (outcome.detectedConnection)
        ui->comPortLineEdit->setText(*outcome.detectedConnection);

    if (outcome.write && historyPage->isVisible())
        historyPage->refresh();
}

JobRequest MainWindow::connectionRequest() const
{
    JobRequest request;
    request.portConfig = ui->comPortLineEdit->text();
    request.keepConEnabled = ui->EnableKeepConncheckBox->isChecked() ? 1 : 0;
    request.advise = &MainWindow::advice;
    return request;
}

// Called on the worker's thread, in the language the window shows then.
QString MainWindow::advice(DeviceProcedures::Advice advice)
{
    // The check box by the name it has in the window's present language.
    const QString keepConBox = QCoreApplication::translate("MainWindow", "Enable Keep Connection");
    switch (advice) {
    case DeviceProcedures::Advice::CheckLine:
        return tr("Nothing was received: check the cable, the port and its baud rate, and that the modem is powered; "
                  "for firmware without the keep-connection register clear \"%1\"")
            .arg(keepConBox);
    case DeviceProcedures::Advice::CheckServer:
        return tr("Nothing was received through the server: check its serial side (its baud rate and the line to the "
                  "modem), and for firmware without the keep-connection register clear \"%1\"; "
                  "Detect modem finds the framing the server speaks")
            .arg(keepConBox);
    case DeviceProcedures::Advice::KeepConRegisterMissing:
        return tr("The modem may lack the keep-connection register: clear \"%1\" and try again").arg(keepConBox);
    }
    return QString();
}

void MainWindow::loadConfig(const QString &fileName)
{
    QString name = fileName;
    const bool asked = name.isEmpty();
    if (asked)
        name = askOpenFileName(this, fileDialogs, tr("Open Config file"), tr("Xml Files (*.xml)"),
                               WorkingFolder::dialogStart());

    // A cancelled dialog leaves the name empty and fails to open as well.
    const SettingsFileContent content = readSettingsFile(name);
    if (content.status == SettingsFileContent::NotOpened) {
        // The log keeps the system's own words; the window says which file.
        const QString logged = tr("There is not the configaration file");
        if (name.isEmpty())
            showStatus([] { return tr("No file was chosen: nothing was loaded"); }, logged);
        else if (!asked)
            showStatus([=] { return tr("No %1 here: the form starts empty").arg(name); }, logged);
        else
            showStatus([=] {
                return tr("The settings file %1 was not opened: %2").arg(QDir::toNativeSeparators(name),
                                                                        content.errorString);
            }, logged);
        return;
    }
    // A damaged document is applied not at all rather than up to its damage.
    if (content.status == SettingsFileContent::Damaged) {
        showStatus([=] {
            return tr("The configuration file is damaged at line %1: %2").arg(content.errorLine).arg(content.errorString);
        });
        return;
    }
    if (asked)
        WorkingFolder::rememberDialogFolder(name);
    for (const SettingsPair &pair : content.pairs)
        applyParam(pair.key, pair.value, pair.bytes);
    // The message of an earlier failed Load would say the opposite. What
    // the file holds besides the settings, a misspelt key say, is named.
    const SettingsValues values = SettingsValues::fromPairs(content.pairs);
    const QString shownName = QDir::toNativeSeparators(name);
    const QString unknown = values.unknownKeysShown();
    if (!values.givesAnySetting() && !values.comPort && !values.enableKeepCon) {
        showStatus([=] {
            return unknown.isEmpty() ? tr("Nothing was loaded: %1 holds none of the settings").arg(shownName)
                                     : tr("Nothing was loaded: %1 holds none of the settings, only: %2")
                                           .arg(shownName, unknown);
        });
        return;
    }
    markForm(false);
    if (!unknown.isEmpty())
        showStatus([=] { return tr("Loaded %1, ignoring what is not a setting: %2").arg(shownName, unknown); });
    else
        showStatus([=] { return tr("Loaded %1").arg(shownName); });
}

void MainWindow::applyParam(const QString &key, const QString &value, const QByteArray &bytes)
{
    // Where a key belongs is the business of the mapping that every reader
    // of settings files shares.
    const SettingsValues values = SettingsValues::fromPairs({{key, value, bytes}});
    if (values.comPort)
        ui->comPortLineEdit->setText(*values.comPort);
    if (values.enableKeepCon)
        ui->EnableKeepConncheckBox->setChecked(*values.enableKeepCon);
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (values.present[size_t(index)])
            editors.show(index, values.settings);
    }
}
