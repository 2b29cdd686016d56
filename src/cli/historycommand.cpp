// history: the journal of Writes, newest first, one line per entry or one
// JSON object per line.

#include "command.h"
#include "console.h"
#include "settingscodecs.h"
#include "userfolders.h"
#include "writejournal.h"

#include <QCommandLineParser>
#include <QDir>
#include <QJsonDocument>

namespace {

QCommandLineOption jsonOption()
{
    return QCommandLineOption(QStringLiteral("json"), QStringLiteral("One JSON object per line, for scripts."));
}

class HistoryCommand : public Command {
public:
    using Command::Command;

    QString synopsis() const override { return {}; }
    QStringList summary() const override
    {
        return {QStringLiteral("list the journal of Writes, newest first: time, connection, the"),
                QStringLiteral("modem's own phone number, outcome, changed settings, previous file")};
    }
    QList<QPair<QString, QString>> examples() const override
    {
        return {{QStringLiteral("Show the journal of Writes for a script"),
                 QStringLiteral("history --json")}};
    }
    QList<QCommandLineOption> options() const override { return {jsonOption()}; }

    std::optional<int> check(const QCommandLineParser &parser, const QStringList &arguments) override
    {
        json = parser.isSet(jsonOption());
        if (!arguments.isEmpty())
            return usageError(QStringLiteral("%1 takes no arguments").arg(name()));
        return std::nullopt;
    }

    int execute() override;

private:
    bool json = false;
};

int HistoryCommand::execute()
{
    const QString journalFolder = UserFolders::journalFolder();
    const QList<JournalEntry> entries = WriteJournal(journalFolder).entries();
    for (const JournalEntry &entry : entries) {
        if (json) {
            console.put(QJsonDocument(entry.toJson()).toJson(QJsonDocument::Compact) + '\n');
            continue;
        }
        QStringList fields{entry.at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), entry.connection,
                           entry.ownPhone.isEmpty() ? QStringLiteral("-") : entry.ownPhone, entry.outcomeShown(),
                           entry.changed.isEmpty() ? QStringLiteral("nothing changed") : entry.changed.join(QStringLiteral("; ")),
                           QDir::toNativeSeparators(entry.previousFile())};
        // The modem's own phone number, or a hostile entry, may hold a
        // terminal's control sequences; a tab would shift the columns.
        for (QString &field : fields)
            field = printableText(field);
        console.print(fields.join(QLatin1Char('\t')));
    }
    if (entries.isEmpty())
        console.inform(QStringLiteral("No Write is in the journal (%1)").arg(QDir::toNativeSeparators(journalFolder)));
    return Success;
}

} // namespace

std::unique_ptr<Command> makeHistoryCommand(const QString &name, Console &console)
{
    return std::make_unique<HistoryCommand>(name, console);
}
