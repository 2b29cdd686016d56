#pragma once

#include "devicesettings.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a Write is about to do: the connection, the form of the settings
// block, what the modem held and what goes to it.
struct WriteFacts {
    QString connection;
    bool withKeepCon = true;
    DeviceSettings previous;
    DeviceSettings written;
};

// One Write as the journal keeps it: a folder of its own holding
// previous.xml (settings file of what the modem held, which restores it byte
// for byte), written.xml (what was sent), begun.json (written before the
// first byte goes out) and, once the Write has ended, entry.json with its
// outcome. Each file is written once and never again.
struct JournalEntry {
    enum Outcome { Unfinished, Written, Verified, Failed };

    QString folder;
    QDateTime at;
    QString user;
    QString computer;
    QString connection;
    QString ownPhone;        // own_Ph as the modem held it
    QString ownPhoneAfter;   // as written
    QStringList changed;     // "key: before → after"
    Outcome outcome = Unfinished;
    int failedBlock = -1;    // for Failed: 0 the settings block, k entry block k
    QString message;         // the Write's last word

    QString previousFile() const;
    QString writtenFile() const;
    // "verified", "written", "failed at entry block 2", "unfinished".
    QString outcomeShown() const;
    QJsonObject toJson() const;
};

// The folder of journal entries: one per Write, readable by the user alone.
class WriteJournal {
public:
    explicit WriteJournal(QString folder);

    QString folder() const { return journalFolder; }

    // Opens an entry: keeps both settings files and the facts before a byte
    // is sent. Nothing, with `error` set, when they cannot be kept.
    std::optional<JournalEntry> begin(const WriteFacts &facts, QString *error) const;
    // Gives the entry its outcome; false, with `error` set, when it cannot
    // be kept.
    bool finish(JournalEntry &entry, JournalEntry::Outcome outcome, const QString &message, int failedBlock,
                QString *error) const;
    // Every entry, newest first; an entry whose Write never ended reads as
    // Unfinished.
    QList<JournalEntry> entries() const;

private:
    const QString journalFolder;
};

// The settings whose fields differ between `before` and `after`,
// "key: before → after", in the order of the record.
QStringList changedSettings(const DeviceSettings &before, const DeviceSettings &after, bool withKeepCon);
