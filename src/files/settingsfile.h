#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdio>
#include <functional>
#include <utility>

class QIODevice;
class QSaveFile;

// One setting of a settings file: the element's name (the key), its "name"
// attribute (the value) and its "bytes" attribute. That one is written only
// where the value alone would not give the modem's field back (a text that
// is not UTF-8, control bytes, bytes after a text's NUL, reserved bits): the
// field's bytes as the modem held them, in hexadecimal pairs.
struct SettingsPair {
    SettingsPair() = default;
    SettingsPair(QString key, QString value, QByteArray bytes = QByteArray())
        : key(std::move(key)), value(std::move(value)), bytes(std::move(bytes)) {}

    QString key;
    QString value;
    QByteArray bytes;   // null: no "bytes" attribute, or one that is not hexadecimal pairs

    bool operator==(const SettingsPair &other) const
    { return key == other.key && value == other.value && bytes == other.bytes; }
};
using SettingsPairs = QVector<SettingsPair>;
Q_DECLARE_METATYPE(SettingsPair)

// The 37 keys in the order a settings file lists them: ComPort, apnServer, ... AnswersNum
// (the register layout's file order, spelled out).
const QStringList &settingsFileKeys();

// The whole document for `pairs`, in the order given: the declaration, <conf>,
// <prm>, one self-closing element per pair, and the two end tags, indented by
// four spaces per level, UTF-8 without a byte-order mark, "\n" line breaks.
// Characters that XML 1.0 cannot carry at all (control characters other than
// tab, line feed and carriage return, U+FFFE, U+FFFF, unpaired surrogates)
// are left out of the values so that the file can always be read back.
QByteArray settingsDocument(const SettingsPairs &pairs);
// `text` as a settings file carries it: without those characters.
QString settingsFileText(const QString &text);

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
    qint64 errorLine = 0;         // for Damaged: where the damage starts
    QString errorString;          // for NotOpened and Damaged
};

// Reads every start element with a "name" attribute, at any depth and under
// any root: key = local name, value = the attribute, both exactly as the XML
// reader gives them. The document is read to its end before anything is
// handed out; a document that is not well formed, that has a DOCTYPE
// declaration, that is larger than FileSupport::MaxDocumentBytes or goes
// beyond the shape bounds of FileSupport, is Damaged and gives no pairs at
// all. An element left open is reported at its own line, not at the end
// tag where the reader noticed.
// With `traces`, "xml.name = <%s>\n" is printed for every start element and
// "xml.nameatr = <%s>\n" for every "name" attribute, as they are read, in
// UTF-8, each flushed at once.
SettingsFileContent readSettingsFile(const QString &fileName, bool traces = true, FILE *traceSink = stdout);
SettingsFileContent readSettingsDocument(QIODevice *device, bool traces = true, FILE *traceSink = stdout);
