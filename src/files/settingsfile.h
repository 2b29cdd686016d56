#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdio>
#include <functional>

class QIODevice;
class QSaveFile;

// One setting of a settings file: the element's name (the key) and its
// "name" attribute (the value).
using SettingsPair = QPair<QString, QString>;
using SettingsPairs = QVector<SettingsPair>;

// The 37 keys in the order a settings file lists them: ComPort, apnServer, ... AnswersNum.
const QStringList &settingsFileKeys();

// The whole document for `pairs`, in the order given: the declaration, <conf>,
// <prm>, one self-closing element per pair, and the two end tags, indented by
// four spaces per level, UTF-8 without a byte-order mark, "\n" line breaks.
// Characters that XML 1.0 cannot carry at all (control characters other than
// tab, line feed and carriage return, U+FFFE, U+FFFF, unpaired surrogates)
// are left out of the values so that the file can always be read back.
QByteArray settingsDocument(const SettingsPairs &pairs);

struct SaveOutcome {
    bool saved = false;
    QString errorString;   // for a failed save
};

// How a complete new file takes the place of the old one: QSaveFile::commit,
// unless told otherwise (a test can make it fail as a full disk would).
using SaveCommit = std::function<bool(QSaveFile &)>;

// Writes settingsDocument(pairs) through QSaveFile: an existing file is only
// replaced once the new one is complete, and stays untouched on any failure.
SaveOutcome saveSettingsFile(const QString &fileName, const SettingsPairs &pairs, const SaveCommit &commit = {});

struct SettingsFileContent {
    enum Status { Loaded, NotOpened, Damaged };
    Status status = NotOpened;
    SettingsPairs pairs;          // every start element with a "name" attribute, in document order
    qint64 errorLine = 0;         // for Damaged
    QString errorString;          // for NotOpened and Damaged
};

// Reads every start element with a "name" attribute, at any depth and under
// any root: key = local name, value = the attribute, both exactly as the XML
// reader gives them. The document is read to its end before anything is
// handed out; a document that is not well formed, that has a DOCTYPE
// declaration, or that is larger than FileSupport::MaxDocumentBytes, is
// Damaged and gives no pairs at all.
// With `traces`, "xml.name = <%s>\n" is printed for every start element and
// "xml.nameatr = <%s>\n" for every "name" attribute, as they are read, in
// UTF-8, each flushed at once.
SettingsFileContent readSettingsFile(const QString &fileName, bool traces = true, FILE *traceSink = stdout);
SettingsFileContent readSettingsDocument(QIODevice *device, bool traces = true, FILE *traceSink = stdout);
