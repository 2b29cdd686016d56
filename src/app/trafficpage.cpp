#include "trafficpage.h"
#include "ui_trafficpage.h"

#include "trafficmodel.h"
#include "userfolders.h"
#include "workingfolder.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QUrl>

namespace {

// A line the model wants read whole wraps at the view's width over as many
// rows as it needs; the others keep one row each, shortened in the middle,
// where a frame's bytes are least telling.
class TrafficLineDelegate : public QStyledItemDelegate {
public:
    explicit TrafficLineDelegate(QTreeView *view)
        : QStyledItemDelegate(view)
        , view(view)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!index.data(TrafficModel::WholeLineRole).toBool())
            return QStyledItemDelegate::sizeHint(option, index);
        // The view asks for a row's height without a width, and the style
        // wraps only within one.
        QStyleOptionViewItem atWidth = option;
        atWidth.rect = QRect(0, 0, view->columnWidth(index.column()), 1);
        return QStyledItemDelegate::sizeHint(atWidth, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(TrafficModel::WholeLineRole).toBool())
            option->features |= QStyleOptionViewItem::WrapText;
    }

private:
    QTreeView *view;
};

} // namespace

TrafficPage::TrafficPage(QWidget *parent, FileDialogAnswer fileDialogs, QString logFolder)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TrafficPage>())
    , traffic(new TrafficModel(this))
    , fileDialogs(std::move(fileDialogs))
    , logFolder(std::move(logFolder))
{
    ui->setupUi(this);
    ui->trafficView->setModel(traffic);
    ui->trafficView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ui->trafficView->setItemDelegate(new TrafficLineDelegate(ui->trafficView));
    // The rows differ in height: scrolled by rows, the view measures only
    // those in sight, not every one of thousands on each batch.
    ui->trafficView->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // At another width the wrapped lines need other heights.
    connect(ui->trafficView->header(), &QHeaderView::sectionResized, this, [this] {
        const QScrollBar *bar = ui->trafficView->verticalScrollBar();
        const bool following = bar->value() == bar->maximum();
        ui->trafficView->doItemsLayout();
        if (following)
            ui->trafficView->scrollToBottom();
    });
    traffic->setFailureColour(failureColour(ui->trafficView->palette()));

    auto *copy = new QAction(this);
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    ui->trafficView->addAction(copy);
    connect(copy, &QAction::triggered, this, &TrafficPage::copySelected);
    connect(ui->pushButtonCopy, &QAbstractButton::clicked, this, &TrafficPage::copySelected);
    connect(ui->pushButtonSaveText, &QAbstractButton::clicked, this, &TrafficPage::saveAsText);
    connect(ui->pushButtonClear, &QAbstractButton::clicked, traffic, &TrafficModel::clear);
    connect(ui->pushButtonOpenFolder, &QAbstractButton::clicked, this, &TrafficPage::openFolder);
}

TrafficPage::~TrafficPage() = default;

void TrafficPage::add(const QVector<TrafficEntry> &entries)
{
    const QScrollBar *bar = ui->trafficView->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    traffic->add(entries);
    if (following && isVisible())
        ui->trafficView->scrollToBottom();
}

QColor TrafficPage::failureColour(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness() >= 128 ? QColor(0xB0, 0x00, 0x20) : QColor(0xFF, 0x8A, 0x80);
}

void TrafficPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        traffic->setFailureColour(failureColour(ui->trafficView->palette()));
    else if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);   // the lines keep the words they came with
    QDialog::changeEvent(event);
}

void TrafficPage::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Opened, the page shows the newest lines.
    ui->trafficView->scrollToBottom();
}

void TrafficPage::copySelected()
{
    QList<int> rows;
    const QModelIndexList selected = ui->trafficView->selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected)
        rows << index.row();
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setText(traffic->text(rows));
}

void TrafficPage::saveAsText()
{
    const QString name = askSaveFileName(this, fileDialogs, tr("Save the traffic"), tr("Text files (*.txt)"),
                                         WorkingFolder::dialogStart(), QStringLiteral(".txt"));
    if (name.isEmpty())
        return;
    QSaveFile file(name);
    const QByteArray text = traffic->text().toUtf8();
    const bool saved = file.open(QIODevice::WriteOnly | QIODevice::Text) && file.write(text) == text.size()
        && file.commit();
    ui->noteLabel->setText(saved ? tr("Saved %1").arg(QDir::toNativeSeparators(name))
                                 : tr("The traffic was not saved: %1: %2")
                                       .arg(QDir::toNativeSeparators(name), file.errorString()));
}

void TrafficPage::openFolder()
{
    UserFolders::makePrivate(logFolder);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(logFolder)))
        ui->noteLabel->setText(tr("The log is in %1").arg(QDir::toNativeSeparators(logFolder)));
}
