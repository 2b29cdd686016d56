#include "historypage.h"
#include "ui_historypage.h"

#include "jobwords.h"
#include "privatefiles.h"

#include <QDir>

HistoryPage::HistoryPage(QWidget *parent, QString journalFolder)
    : QDialog(parent)
    , ui(std::make_unique<Ui::HistoryPage>())
    , journalFolder(std::move(journalFolder))
{
    ui->setupUi(this);
    retranslate();
    connect(ui->pushButtonLoadPrevious, &QAbstractButton::clicked, this, [this] { requestLoad(true); });
    connect(ui->pushButtonLoadWritten, &QAbstractButton::clicked, this, [this] { requestLoad(false); });
    connect(ui->historyList, &QTreeWidget::currentItemChanged, this, &HistoryPage::enableLoads);
}

// An entry's files are loaded only when they are files of its own: a
// link, a device or a FIFO in their place would hang or mislead the window.
void HistoryPage::enableLoads()
{
    const int row = ui->historyList->indexOfTopLevelItem(ui->historyList->currentItem());
    const bool chosen = row >= 0 && row < entries.size();
    ui->pushButtonLoadPrevious->setEnabled(chosen && PrivateFiles::isRegular(entries.at(row).previousFile()));
    ui->pushButtonLoadWritten->setEnabled(chosen && PrivateFiles::isRegular(entries.at(row).writtenFile()));
}

HistoryPage::~HistoryPage() = default;

void HistoryPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslate();
        if (isVisible())
            refresh();   // the outcomes
    }
    QDialog::changeEvent(event);
}

void HistoryPage::retranslate()
{
    ui->folderLabel->setText(tr("Journal: %1").arg(QDir::toNativeSeparators(journalFolder)));
}

void HistoryPage::showEvent(QShowEvent *event)
{
    // Opened anew, the page starts at the newest entry.
    ui->historyList->setCurrentItem(nullptr);
    refresh();
    QDialog::showEvent(event);
}

void HistoryPage::refresh()
{
    QTreeWidgetItem *chosen = ui->historyList->currentItem();
    const QString chosenFolder = chosen ? entries.value(ui->historyList->indexOfTopLevelItem(chosen)).folder : QString();
    entries = WriteJournal(journalFolder).entries();
    ui->historyList->clear();
    for (const JournalEntry &entry : qAsConst(entries)) {
        const QString ownPhone = entry.ownPhoneAfter == entry.ownPhone
            ? entry.ownPhone
            : QStringLiteral("%1 → %2").arg(entry.ownPhone, entry.ownPhoneAfter);
        auto *item = new QTreeWidgetItem(ui->historyList,
                                         {entry.at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                          entry.connection,
                                          ownPhone, outcomeText(entry), entry.changed.join(QLatin1String("; "))});
        item->setToolTip(3, JobWords::shown(entry.message));
        item->setToolTip(4, entry.changed.join(QLatin1Char('\n')));
        if (entry.folder == chosenFolder)
            ui->historyList->setCurrentItem(item);
    }
    // Without an entry, the page says what it will hold rather than show a
    // blank table.
    ui->historyList->setVisible(!entries.isEmpty());
    ui->emptyLabel->setVisible(entries.isEmpty());
    if (!ui->historyList->currentItem() && ui->historyList->topLevelItemCount() > 0)
        ui->historyList->setCurrentItem(ui->historyList->topLevelItem(0));
    enableLoads();
    for (int column = 0; column < ui->historyList->columnCount() - 1; ++column)
        ui->historyList->resizeColumnToContents(column);
}

void HistoryPage::showEntry(const QString &folder)
{
    // Shown anew it reads the journal itself; shown already, it is told to.
    if (isVisible())
        refresh();
    show();
    raise();
    activateWindow();
    for (int row = 0; row < entries.size(); ++row) {
        if (QDir(entries.at(row).folder) == QDir(folder))
            ui->historyList->setCurrentItem(ui->historyList->topLevelItem(row));
    }
}

QString HistoryPage::outcomeText(const JournalEntry &entry)
{
    switch (entry.outcome) {
    case JournalEntry::Written: return tr("written");
    case JournalEntry::Verified: return tr("verified");
    case JournalEntry::Unfinished: return tr("unfinished");
    case JournalEntry::Failed: break;
    }
    if (entry.failedBlock == 0)
        return tr("failed at the settings block");
    return entry.failedBlock > 0 ? tr("failed at entry block %1").arg(entry.failedBlock) : tr("failed");
}

void HistoryPage::requestLoad(bool previous)
{
    const int row = ui->historyList->indexOfTopLevelItem(ui->historyList->currentItem());
    if (row < 0 || row >= entries.size())
        return;
    emit loadRequested(previous ? entries.at(row).previousFile() : entries.at(row).writtenFile());
}
