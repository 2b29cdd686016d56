#include "writejournal.h"

#include "filesupport.h"
#include "privatefiles.h"
#include "settingsfile.h"
#include "settingsvalues.h"
#include "userfolders.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>

#include <algorithm>

namespace {

const char BegunFile[] = "begun.json";
const char EntryFile[] = "entry.json";
const char *const OutcomeNames[] = {"unfinished", "written", "verified", "failed"};

// An entry's facts are a few kilobytes.
constexpr qint64 MaxEntryBytes = 1024 * 1024;

QJsonObject readJson(const QString &fileName)
{
    QString why;
    const std::optional<QByteArray> bytes = PrivateFiles::readRegular(fileName, MaxEntryBytes, &why);
    return bytes ? QJsonDocument::fromJson(*bytes).object() : QJsonObject();
}

QString notFlushed(const QString &folder)
{
    return QStringLiteral("%1 cannot be flushed to the disk").arg(QDir::toNativeSeparators(folder));
}

JournalEntry entryFromJson(const QString &folder, const QJsonObject &json)
{
    JournalEntry entry;
    entry.folder = folder;
    entry.at = QDateTime::fromString(json.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
    entry.user = json.value(QLatin1String("user")).toString();
    entry.computer = json.value(QLatin1String("computer")).toString();
    entry.connection = json.value(QLatin1String("connection")).toString();
    entry.ownPhone = json.value(QLatin1String("own_Ph")).toString();
    entry.ownPhoneAfter = json.value(QLatin1String("own_Ph_written")).toString();
    for (const QJsonValue &change : json.value(QLatin1String("changed")).toArray())
        entry.changed << change.toString();
    const QString outcome = json.value(QLatin1String("outcome")).toString();
    for (int known = JournalEntry::Unfinished; known <= JournalEntry::Failed; ++known) {
        if (outcome == QLatin1String(OutcomeNames[known]))
            entry.outcome = JournalEntry::Outcome(known);
    }
    entry.failedBlock = json.value(QLatin1String("failedBlock")).toInt(-1);
    entry.message = json.value(QLatin1String("message")).toString();
    return entry;
}

} // namespace

QString JournalEntry::previousFile() const
{
    return folder + QLatin1String("/previous.xml");
}

QString JournalEntry::writtenFile() const
{
    return folder + QLatin1String("/written.xml");
}

QString JournalEntry::outcomeShown() const
{
    if (outcome != Failed || failedBlock < 0)
        return QLatin1String(OutcomeNames[outcome]);
    return failedBlock == 0 ? QStringLiteral("failed at the settings block")
                            : QStringLiteral("failed at entry block %1").arg(failedBlock);
}

QJsonObject JournalEntry::toJson() const
{
    QJsonObject json{{QLatin1String("time"), at.toString(Qt::ISODateWithMs)},
                     {QLatin1String("user"), user},
                     {QLatin1String("computer"), computer},
                     {QLatin1String("connection"), connection},
                     {QLatin1String("own_Ph"), ownPhone},
                     {QLatin1String("own_Ph_written"), ownPhoneAfter},
                     {QLatin1String("changed"), QJsonArray::fromStringList(changed)},
                     {QLatin1String("outcome"), QLatin1String(OutcomeNames[outcome])},
                     {QLatin1String("previous"), QDir::toNativeSeparators(previousFile())},
                     {QLatin1String("written"), QDir::toNativeSeparators(writtenFile())}};
    if (outcome == Failed)
        json.insert(QLatin1String("failedBlock"), failedBlock);
    if (outcome != Unfinished)
        json.insert(QLatin1String("message"), message);
    return json;
}

WriteJournal::WriteJournal(QString folder)
    : journalFolder(std::move(folder))
{
}

std::optional<JournalEntry> WriteJournal::begin(const WriteFacts &facts, QString *error) const
{
    if (!UserFolders::makePrivate(journalFolder)) {
        *error = QStringLiteral("%1 cannot be made").arg(QDir::toNativeSeparators(journalFolder));
        return std::nullopt;
    }
    JournalEntry entry;
    entry.at = FileSupport::nowWithOffset();
    entry.user = FileSupport::userName();
    entry.computer = QSysInfo::machineHostName();
    entry.connection = facts.connection;
    entry.ownPhone = facts.previous.value(DeviceSettings::own_Ph);
    entry.ownPhoneAfter = facts.written.value(DeviceSettings::own_Ph);
    entry.changed = changedSettings(facts.previous, facts.written, facts.withKeepCon);

    // Named by the time in UTC, so that a listing sorts by it whatever the
    // clocks do; two Writes in one millisecond get a number.
    const QString stem =
        journalFolder + QLatin1Char('/') + entry.at.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz'Z'"));
    entry.folder = stem;
    for (int number = 2; !QDir().mkdir(entry.folder); ++number) {
        if (number > 100) {
            *error = QStringLiteral("%1 cannot be made").arg(QDir::toNativeSeparators(stem));
            return std::nullopt;
        }
        entry.folder = stem + QLatin1Char('-') + QString::number(number);
    }
    QFile::setPermissions(entry.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // All of it is on the disk before the first frame goes out, or none of
    // it is there: a power cut must not leave a Write without its entry.
    const bool kept =
        PrivateFiles::writeNew(entry.previousFile(),
                               settingsDocument(settingsFilePairs(facts.previous, facts.connection, facts.withKeepCon)),
                               error)
        && PrivateFiles::writeNew(entry.writtenFile(),
                                  settingsDocument(settingsFilePairs(facts.written, facts.connection, facts.withKeepCon)),
                                  error)
        && PrivateFiles::writeNew(entry.folder + QLatin1Char('/') + QLatin1String(BegunFile),
                                  QJsonDocument(entry.toJson()).toJson(), error);
    if (!kept || !PrivateFiles::flushFolder(entry.folder) || !PrivateFiles::flushFolder(journalFolder)) {
        if (kept)
            *error = notFlushed(entry.folder);
        QDir(entry.folder).removeRecursively();
        return std::nullopt;
    }
    return entry;
}

bool WriteJournal::finish(JournalEntry &entry, JournalEntry::Outcome outcome, const QString &message,
                          int failedBlock, QString *error) const
{
    entry.outcome = outcome;
    entry.message = message;
    entry.failedBlock = outcome == JournalEntry::Failed ? failedBlock : -1;
    // Whole or not at all: without it the entry reads as unfinished.
    if (!PrivateFiles::writeNew(entry.folder + QLatin1Char('/') + QLatin1String(EntryFile),
                                QJsonDocument(entry.toJson()).toJson(), error))
        return false;
    if (PrivateFiles::flushFolder(entry.folder))
        return true;
    *error = notFlushed(entry.folder);
    return false;
}

QList<JournalEntry> WriteJournal::entries() const
{
    QList<JournalEntry> list;
    // A folder that is a link is no entry of this journal.
    const QStringList names = QDir(journalFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                                            QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        const QString folder = journalFolder + QLatin1Char('/') + name;
        QJsonObject json = readJson(folder + QLatin1Char('/') + QLatin1String(EntryFile));
        if (json.isEmpty())
            json = readJson(folder + QLatin1Char('/') + QLatin1String(BegunFile));
        if (!json.isEmpty())
            list << entryFromJson(folder, json);
    }
    // By the time each entry says, which carries its offset from UTC; the
    // folders' names sort entries of one millisecond.
    std::stable_sort(list.begin(), list.end(),
                     [](const JournalEntry &a, const JournalEntry &b) { return a.at > b.at; });
    return list;
}

QStringList changedSettings(const DeviceSettings &before, const DeviceSettings &after, bool withKeepCon)
{
    QStringList changed;
    for (int index : before.entriesDifferingFrom(after, DeviceSettings::allBlocks(), withKeepCon)) {
        const QStringList shown =
            shownDifference(before.value(index), before.fieldImage(index), after.value(index), after.fieldImage(index));
        changed << QStringLiteral("%1: %2 → %3").arg(DeviceSettings::key(index), shown.at(0), shown.at(1));
    }
    return changed;
}
