#include "aboutdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent, QString logFolder, QString journalFolder)
    : QDialog(parent)
    , logFolder(std::move(logFolder))
    , journalFolder(std::move(journalFolder))
    , text(new QLabel(this))
{
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    retranslate();
}

void AboutDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void AboutDialog::retranslate()
{
    setWindowTitle(tr("About GPRS configurator"));
    text->setText(tr("GPRS configurator %1\n"
                     "Built with Qt %2, running on Qt %3.\n"
                     "Released under the MIT licence.\n\n"
                     "Log: %4\n"
                     "Journal of Writes: %5")
                      .arg(QStringLiteral(GPRS_VERSION), QStringLiteral(QT_VERSION_STR), QLatin1String(qVersion()),
                           QDir::toNativeSeparators(logFolder), QDir::toNativeSeparators(journalFolder)));
}
