#include "filedialogs.h"

#include <QFileDialog>

QString askOpenFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder)
{
    if (answer)
        return answer(caption, filter, folder);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString askSaveFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder)
{
    if (answer)
        return answer(caption, filter, folder);
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}
