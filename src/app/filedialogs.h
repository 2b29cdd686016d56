#ifndef FILEDIALOGS_H
#define FILEDIALOGS_H

#include <QString>

#include <functional>

class QWidget;

// The window's only two dialogs go through here, so that whoever builds the
// window can answer them without a modal dialog blocking the event loop.

// Answers a file dialog instead of showing it: gets the caption, the filter
// and the folder the dialog would open in, returns the chosen name, or an
// empty string for a cancel.
using FileDialogAnswer =
    std::function<QString(const QString &caption, const QString &filter, const QString &folder)>;

// Asks for an existing file, opening in `folder`: no selected filter, default
// options. An `answer`, when set, is asked instead of the dialog. Returns an
// empty string when the user cancels.
QString askOpenFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder = QString());

// Asks for a file name to save to, with the same defaults. A name without
// a suffix gets `suffix` (".xml"), so that the dialog's filter lists it later.
QString askSaveFileName(QWidget *parent, const FileDialogAnswer &answer, const QString &caption,
                        const QString &filter, const QString &folder, const QString &suffix);

#endif // FILEDIALOGS_H
