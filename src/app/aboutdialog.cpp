#include "aboutdialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent, const QString &logFolder, const QString &journalFolder)
    : QDialog(parent)
{
    setWindowTitle(tr("About GPRS configurator"));
    auto *text = new QLabel(this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setText(tr("GPRS configurator %1\n"
                     "Built with Qt %2, running on Qt %3.\n"
                     "Released under the MIT licence.\n\n"
                     "Log: %4\n"
                     "Journal of Writes: %5")
                      .arg(QStringLiteral(GPRS_VERSION), QStringLiteral(QT_VERSION_STR), QLatin1String(qVersion()),
                           QDir::toNativeSeparators(logFolder), QDir::toNativeSeparators(journalFolder)));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}
