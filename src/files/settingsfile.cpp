#include "settingsfile.h"

#include "filesupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

// QXmlStreamWriter refuses these characters by writing an empty attribute
// and flagging an error, which would lose the whole value; dropping only the
// offending characters keeps the rest.
bool isXmlChar(char32_t c)
{
    if (c < 0x20)
        return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF)
        return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

QString xmlRepresentable(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept.append(c);
            kept.append(text.at(++i));
        } else if (isXmlChar(c.unicode())) {
            kept.append(c);
        }
    }
    return kept;
}

void trace(FILE *sink, const char *format, const QString &text)
{
    std::fprintf(sink, format, text.toUtf8().constData());
    std::fflush(sink);
}

QString doctypeRefused()
{
    return QCoreApplication::translate("SettingsFile",
                                       "The document has a DOCTYPE declaration, which a settings file never has.");
}

} // namespace

const QStringList &settingsFileKeys()
{
    static const QStringList keys {
        QStringLiteral("ComPort"), QStringLiteral("apnServer"), QStringLiteral("apnLogin"),
        QStringLiteral("apnPassword"), QStringLiteral("TxSetting"), QStringLiteral("RxSetting"),
        QStringLiteral("ToutWaitAnsw"), QStringLiteral("ToutWaitNextPacket"), QStringLiteral("ToutBetwenBytes"),
        QStringLiteral("TryNum"), QStringLiteral("MirrServ1"), QStringLiteral("MirrServ2"),
        QStringLiteral("MirrServ3"), QStringLiteral("MirrServ4"), QStringLiteral("MirrPort1"),
        QStringLiteral("MirrPort2"), QStringLiteral("MirrPort3"), QStringLiteral("MirrPort4"),
        QStringLiteral("PhNum1"), QStringLiteral("PhNum2"), QStringLiteral("PhNum3"),
        QStringLiteral("PhNum4"), QStringLiteral("KeepCon"), QStringLiteral("EnableKeepCon"),
        QStringLiteral("own_Ph"), QStringLiteral("sc_Ph"), QStringLiteral("sms_Ph"),
        QStringLiteral("IP"), QStringLiteral("DNS1"), QStringLiteral("DNS2"),
        QStringLiteral("MbsAdr"), QStringLiteral("RestartTimeSrv"), QStringLiteral("RestartTimeMdm"),
        QStringLiteral("DisconnectTime"), QStringLiteral("ToutWaitNext"), QStringLiteral("MaxNumBytes"),
        QStringLiteral("AnswersNum"),
    };
    return keys;
}

QByteArray settingsDocument(const SettingsPairs &pairs)
{
    QByteArray document;
    QXmlStreamWriter writer(&document);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("conf"));
    writer.writeStartElement(QStringLiteral("prm"));
    for (const SettingsPair &pair : pairs) {
        writer.writeStartElement(pair.first);
        writer.writeAttribute(QStringLiteral("name"), xmlRepresentable(pair.second));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return document;
}

SaveOutcome saveSettingsFile(const QString &fileName, const SettingsPairs &pairs, const SaveCommit &commit)
{
    SaveOutcome outcome;
    // QSaveFile happily opens an empty name (a temporary file in the working
    // folder) and fails only at the commit; refuse it up front.
    QSaveFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        outcome.errorString = FileSupport::openFailureReason(fileName, file);
        return outcome;
    }
    const QByteArray document = settingsDocument(pairs);
    if (file.write(document) != document.size()) {
        outcome.errorString = QCoreApplication::translate("SettingsFile", "\"%1\" could not be written: %2")
                                  .arg(fileName, file.errorString());
        file.cancelWriting();
        return outcome;
    }
    if (!(commit ? commit(file) : file.commit())) {
        outcome.errorString = QCoreApplication::translate("SettingsFile", "\"%1\" could not be saved: %2")
                                  .arg(fileName, file.errorString());
        return outcome;
    }
    outcome.saved = true;
    return outcome;
}

SettingsFileContent readSettingsDocument(QIODevice *device, bool traces, FILE *traceSink)
{
    SettingsFileContent content;
    if (!device || !device->isReadable()) {
        content.errorString = QCoreApplication::translate("SettingsFile", "The document is not open for reading.");
        return content;
    }
    const QByteArray document = FileSupport::readLimited(device);
    if (document.size() > FileSupport::MaxDocumentBytes) {
        content.status = SettingsFileContent::Damaged;
        content.errorLine = document.left(FileSupport::MaxDocumentBytes).count('\n') + 1;
        content.errorString = QCoreApplication::translate("SettingsFile",
                "The document goes on beyond %1 bytes; a settings file is a few kilobytes.")
                                  .arg(FileSupport::MaxDocumentBytes);
        return content;
    }
    const bool tracing = traces && traceSink;
    QXmlStreamReader reader(document);
    FileSupport::limitReader(reader);
    SettingsPairs pairs;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // The writer never puts a DOCTYPE into a settings file, and every
            // door a DTD opens leads into the content: entities (nested
            // expansion, external files), an external subset that turns
            // unknown references into literal text, attribute defaults that
            // add settings the body does not show.
            reader.raiseError(doctypeRefused());
            break;
        case QXmlStreamReader::StartElement: {
            const QString key = reader.name().toString();
            if (tracing)
                trace(traceSink, "xml.name = <%s>\n", key);
            const QXmlStreamAttributes attributes = reader.attributes();
            if (!attributes.hasAttribute(QStringLiteral("name")))
                break;
            const QString value = attributes.value(QStringLiteral("name")).toString();
            pairs.append({key, value});
            if (tracing)
                trace(traceSink, "xml.nameatr = <%s>\n", value);
            break;
        }
        default:
            break;
        }
    }
    if (reader.hasError()) {
        content.status = SettingsFileContent::Damaged;
        content.errorLine = reader.lineNumber();
        content.errorString = reader.errorString();
        return content;
    }
    content.status = SettingsFileContent::Loaded;
    content.pairs = pairs;
    return content;
}

SettingsFileContent readSettingsFile(const QString &fileName, bool traces, FILE *traceSink)
{
    // Read as bytes, not in text mode: the XML reader handles every line-end
    // convention itself and needs the raw bytes to detect UTF-16 documents.
    // An empty name is what a cancelled file dialog gives; refusing it here
    // spares the console Qt's warning about it.
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        SettingsFileContent content;
        content.errorString = FileSupport::openFailureReason(fileName, file);
        return content;
    }
    return readSettingsDocument(&file, traces, traceSink);
}
