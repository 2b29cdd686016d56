#include "settingsfile.h"

#include "filesupport.h"
#include "registerlayout.h"

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

// The "bytes" attribute: hexadecimal pairs, blanks between them allowed;
// null for anything else, which leaves the value to stand alone.
QByteArray parseBytes(const QString &text)
{
    QByteArray digits;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == ' ')
            continue;
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return QByteArray();
        digits += char(u);
    }
    return digits.size() % 2 == 0 ? QByteArray::fromHex(digits) : QByteArray();
}

// The XML reader's own words for an end tag that does not fit, which it
// translates in its own context (held apart, so that this project's
// translation does not take it over).
const char tagMismatch[] = "Opening and ending tag mismatch.";

// An element that is not closed where the reader expects its end tag.
struct OpenElement {
    QString name;
    qint64 line = 0;
    bool setting = false;   // it carries a "name" attribute
};

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
    static const QStringList keys = [] {
        QStringList names;
        for (const SettingKey &key : RegisterLayout::fileOrder())
            names << key.name();
        return names;
    }();
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
        writer.writeStartElement(pair.key);
        writer.writeAttribute(QStringLiteral("name"), xmlRepresentable(pair.value));
        if (!pair.bytes.isNull())
            writer.writeAttribute(QStringLiteral("bytes"), QString::fromLatin1(pair.bytes.toHex(' ').toUpper()));
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return document;
}

QString settingsFileText(const QString &text)
{
    return xmlRepresentable(text);
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
        content.errorLine = FileSupport::lineAt(document, FileSupport::MaxDocumentBytes);
        content.errorString = QCoreApplication::translate("SettingsFile",
                "The document goes on beyond %1 bytes; a settings file is a few kilobytes.")
                                  .arg(FileSupport::MaxDocumentBytes);
        return content;
    }
    if (const FileSupport::ShapeProblem shape = FileSupport::shapeProblem(document); shape.exists()) {
        content.status = SettingsFileContent::Damaged;
        content.errorLine = FileSupport::lineAt(document, shape.offset);
        content.errorString = shape.reason;
        return content;
    }
    const bool tracing = traces && traceSink;
    QXmlStreamReader reader(document);
    FileSupport::limitReader(reader);
    SettingsPairs pairs;
    QVector<OpenElement> open;
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
            const bool setting = attributes.hasAttribute(QStringLiteral("name"));
            open.append({key, reader.lineNumber(), setting});
            if (!setting)
                break;
            const QString value = attributes.value(QStringLiteral("name")).toString();
            const QByteArray bytes = attributes.hasAttribute(QStringLiteral("bytes"))
                ? parseBytes(attributes.value(QStringLiteral("bytes")).toString())
                : QByteArray();
            pairs.append({key, value, bytes});
            if (tracing)
                trace(traceSink, "xml.nameatr = <%s>\n", value);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty())
                open.removeLast();
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        content.status = SettingsFileContent::Damaged;
        content.errorLine = reader.lineNumber();
        content.errorString = reader.errorString();
        // A setting's element is always empty, so when an end tag does not
        // fit and the innermost open element is a setting, that setting is
        // where the file went wrong ("/>" typed as ">"), not the end tag far
        // below it where the reader noticed.
        const bool mismatch = reader.errorString() == QCoreApplication::translate("QXmlStream", tagMismatch);
        if (mismatch && !open.isEmpty() && open.constLast().setting) {
            content.errorLine = open.constLast().line;
            content.errorString = QCoreApplication::translate("SettingsFile",
                    "<%1> starts on this line and is never closed (noticed at line %2: %3)")
                                      .arg(open.constLast().name)
                                      .arg(reader.lineNumber())
                                      .arg(reader.errorString());
        }
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
