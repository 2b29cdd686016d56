#include "filedialogs.h"

#include <QFileDialog>

namespace {

FileDialogAnswer &testAnswer()
{
    static FileDialogAnswer answer;
    return answer;
}

} // namespace

QString askOpenFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    if (testAnswer())
        return testAnswer()(caption, filter);
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    if (testAnswer())
        return testAnswer()(caption, filter);
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

void setFileDialogAnswerForTesting(FileDialogAnswer answer)
{
    testAnswer() = std::move(answer);
}
