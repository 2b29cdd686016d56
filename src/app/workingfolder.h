#ifndef WORKINGFOLDER_H
#define WORKINGFOLDER_H

#include <QString>

// Where the window keeps its files: the start-up file simconf.xml, and the
// folder its file dialogs open in.
namespace WorkingFolder {

// The folder to work in. Started from a shell the window works where it was
// started. Started in its own folder, as the Start-menu entry of the
// installed program starts it, it stays there only while it may write there
// (a portable copy); otherwise it works in `documents`/GPRS configurator.
QString choose(const QString &current, const QString &programFolder, bool programFolderWritable,
               const QString &documents);
// Whether a file can be made in `folder`: tried, for rights on Windows are
// more than the permission bits say.
bool isWritable(const QString &folder);
// Moves into the folder choose() names for this process, making it first.
void enter();

// The folder a file dialog opens in first: the one of the last file loaded
// or saved, remembered for the user; else the working folder, unless that is
// a temporary one that goes away (the demo's): then the user's documents.
QString dialogStart();
void rememberDialogFolder(const QString &fileName);

} // namespace WorkingFolder

#endif // WORKINGFOLDER_H
