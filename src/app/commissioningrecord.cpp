#include "commissioningrecord.h"

#include "devicesettings.h"
#include "filesupport.h"
#include "jobwords.h"
#include "provisionreport.h"

#include <QFileInfo>
#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSysInfo>
#include <QTextDocument>

namespace {

// A customer reads it on paper as well as on a screen: a plain sans serif
// that holds Cyrillic. DejaVu Sans comes with Qt on Linux; elsewhere the
// hint picks the system's own sans serif.
constexpr int BodyPointSize = 9;
const char *const FontFamily = "DejaVu Sans";
// Around the text; the document adds its own border and the page number
// below it.
constexpr qreal PageMarginMm = 5;

QString shown(const QString &text)
{
    return text.toHtmlEscaped();
}

QString dateTime(const QDateTime &at)
{
    return at.isValid() ? at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

// A modem's time without the date, unless the run went past midnight.
QString timeOfModem(const QDateTime &at, const QDateTime &started)
{
    if (at.isValid() && started.isValid() && at.toLocalTime().date() == started.toLocalTime().date())
        return at.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
    return dateTime(at);
}

QString headerRow(const QStringList &captions)
{
    QString row = QStringLiteral("<thead><tr>");
    for (const QString &caption : captions)
        row += QStringLiteral("<th align=\"left\" bgcolor=\"#e4e4e4\">%1</th>").arg(shown(caption));
    return row + QStringLiteral("</tr></thead>");
}

// Cells already in HTML.
QString bodyRow(const QStringList &cells)
{
    QString row = QStringLiteral("<tr>");
    for (const QString &cell : cells)
        row += QStringLiteral("<td>%1</td>").arg(cell);
    return row + QStringLiteral("</tr>");
}

QString tableStart()
{
    return QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                          "style=\"border-collapse: collapse; border-color: #808080\">");
}

} // namespace

CommissioningRecord::Run CommissioningRecord::of(const SettingsValues &templateValues, const ProvisionTable &table,
                                                 const QList<FleetProvisioner::ModemOutcome> &outcomes,
                                                 const std::vector<bool> &rowVerified)
{
    Run record;
    record.user = FileSupport::userName();
    record.computer = QSysInfo::machineHostName();
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (templateValues.present[size_t(index)])
            record.templateSettings.append({DeviceSettings::label(index), templateValues.settings.value(index)});
    }
    const int ownPhone = DeviceSettings::indexOfKey(QStringLiteral("own_Ph"));
    for (const FleetProvisioner::ModemOutcome &outcome : outcomes) {
        // A modem back with its verified row is not another modem.
        if (outcome.result == ProvisionReport::HoldsVerifiedRow)
            continue;
        Modem modem;
        if (outcome.row >= 0 && outcome.row < table.rows.size()) {
            const ProvisionRow &row = table.rows.at(outcome.row);
            modem.id = row.id.isEmpty() ? tr("line %1").arg(row.line) : row.id;
            modem.ownPhone = row.values.settings.value(ownPhone);
            for (const SettingsPair &cell : row.cells) {
                const int index = DeviceSettings::indexOfKey(cell.key);
                modem.settings << QStringLiteral("%1: %2").arg(index >= 0 ? DeviceSettings::label(index) : cell.key,
                                                               cell.value);
            }
        }
        modem.port = outcome.port;
        modem.at = outcome.at;
        modem.verified = outcome.result == ProvisionReport::Verified;
        modem.result = ProvisionReport::outcomeShown(outcome.result);
        if (!modem.verified)
            modem.message = JobWords::shown(outcome.message);
        record.modems << modem;
    }
    record.rows = table.rows.size();
    for (int row = 0; row < table.rows.size(); ++row) {
        if (size_t(row) < rowVerified.size() && rowVerified[size_t(row)])
            ++record.verified;
        else
            record.notDone << table.rows.at(row).name();
    }
    return record;
}

QString CommissioningRecord::html(const Run &run)
{
    QString document = QStringLiteral("<html><body>");
    document += QStringLiteral("<h2>%1</h2>").arg(shown(tr("Commissioning record")));

    document += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    const QPair<QString, QString> facts[] = {
        {tr("Started"), dateTime(run.started)},
        {tr("Ended"), dateTime(run.ended)},
        {tr("User"), run.user},
        {tr("Computer"), run.computer},
        {tr("Template"), QFileInfo(run.templateFile).fileName()},
        {tr("Table"), QFileInfo(run.tableFile).fileName()},
    };
    for (const auto &fact : facts)
        document += bodyRow({QStringLiteral("<b>%1</b>").arg(shown(fact.first)), shown(fact.second)});
    document += QStringLiteral("</table>");

    document += QStringLiteral("<h3>%1</h3>").arg(shown(tr("Settings of the template")));
    document += tableStart() + headerRow({tr("Setting"), tr("Value")});
    for (const auto &setting : run.templateSettings)
        document += bodyRow({shown(setting.first), shown(setting.second)});
    document += QStringLiteral("</table>");

    document += QStringLiteral("<h3>%1</h3>").arg(shown(tr("Modems")));
    // The settings and the reason for a failure take a line of their own
    // under the modem's, across the table, so that they do not squeeze the
    // columns.
    const QStringList modemColumns = {tr("Row"), tr("Own phone number"), tr("Port"), tr("Time"), tr("Result")};
    document += tableStart() + headerRow(modemColumns);
    for (const Modem &modem : run.modems) {
        document += bodyRow({shown(modem.id), shown(modem.ownPhone), shown(modem.port),
                             shown(timeOfModem(modem.at, run.started)), shown(modem.result)});
        QStringList details;
        if (!modem.settings.isEmpty())
            details << shown(tr("Settings from the table: %1").arg(modem.settings.join(QStringLiteral("; "))));
        if (!modem.verified && !modem.message.isEmpty())
            details << QStringLiteral("<i>%1</i>").arg(shown(modem.message));
        if (!details.isEmpty())
            document += QStringLiteral("<tr><td colspan=\"%1\">%2</td></tr>")
                            .arg(QString::number(modemColumns.size()), details.join(QStringLiteral("<br/>")));
    }
    document += QStringLiteral("</table>");

    document += QStringLiteral("<p><b>%1</b></p>")
                    .arg(shown(tr("%1 of %n rows verified", nullptr, run.rows).arg(run.verified)));
    if (run.notDone.isEmpty()) {
        document += QStringLiteral("<p>%1</p>").arg(shown(tr("Every row of the table is verified.")));
    } else {
        document += QStringLiteral("<p>%1</p><ul>").arg(shown(tr("Rows not done:")));
        for (const QString &row : run.notDone)
            document += QStringLiteral("<li>%1</li>").arg(shown(row));
        document += QStringLiteral("</ul>");
    }
    return document + QStringLiteral("</body></html>");
}

bool CommissioningRecord::writePdf(const Run &run, const QString &fileName, QString *error)
{
    // The PDF is drawn into a temporary file that takes the name only when
    // it is whole, so that a failure never leaves half a record behind.
    QSaveFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = FileSupport::openFailureReason(fileName, file);
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(tr("Commissioning record"));
        writer.setCreator(QStringLiteral("GPRS configurator"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm),
                              QPageLayout::Millimeter);
        QTextDocument document;
        QFont font(QString::fromLatin1(FontFamily), BodyPointSize);
        font.setStyleHint(QFont::SansSerif);
        // No ligatures: "fi" in "verified" stays two letters for whoever copies or searches the text.
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
        document.setHtml(html(run));
        document.print(&writer);
    }
    if (!file.commit()) {
        if (error)
            *error = QCoreApplication::translate("SettingsFile", "\"%1\" could not be saved: %2")
                         .arg(fileName, file.errorString());
        return false;
    }
    return true;
}
