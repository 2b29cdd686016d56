#include "filedialogs.h"

#include <QFileDialog>
#include <QFileInfo>

QString askOpenFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder)
{
    if (answer)
        return answer(caption, filter, folder);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString askSaveFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder, const QString &suffix)
{
    QString name = answer ? answer(caption, filter, folder) : QFileDialog::getSaveFileName(parent, caption, folder, filter);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += suffix;
    return name;
}
