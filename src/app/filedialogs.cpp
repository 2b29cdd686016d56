#include "filedialogs.h"

#include <QFileDialog>

QString askOpenFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter)
{
    if (answer)
        return answer(caption, filter);
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString askSaveFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter)
{
    if (answer)
        return answer(caption, filter);
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}
