#include "devicesettings.h"

#include "settingscodecs.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

namespace {

enum class Kind { Text, Address, Serial, Number, NumberX10 };
enum class Block { Settings, Entry };

struct Field {
    const char *key;
    Kind kind;
    Block block;
    int offset;     // within its block
    int width;      // bytes in the block
    bool hasWidget; // on the main form; the others have their own page
    const char *label;   // the window's caption; "%1" takes the column field's number
};

// The labels are the window's captions, in the translation contexts of the
// forms that show them ("MainWindow" for the main form, "MoreSettingsDialog"
// for the page of the others), so that a message names a setting exactly as
// the window does.
// One row per entry, in index order. Entry blocks repeat one layout; the
// block number is (index - PhNum1) % 4.
const Field fields[DeviceSettings::Count] = {
    {"apnServer", Kind::Text, Block::Settings, 42, 32, true, QT_TRANSLATE_NOOP("MainWindow", "Apn server")},
    {"apnLogin", Kind::Text, Block::Settings, 74, 14, true, QT_TRANSLATE_NOOP("MainWindow", "Apn login")},
    {"apnPassword", Kind::Text, Block::Settings, 88, 14, true, QT_TRANSLATE_NOOP("MainWindow", "Apn password")},
    {"own_Ph", Kind::Text, Block::Settings, 0, 14, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Own phone number")},
    {"sc_Ph", Kind::Text, Block::Settings, 14, 14, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "SMS centre number")},
    {"sms_Ph", Kind::Text, Block::Settings, 28, 14, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "SMS phone number")},
    {"IP", Kind::Address, Block::Settings, 102, 4, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "IP address")},
    {"DNS1", Kind::Address, Block::Settings, 106, 4, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "DNS 1")},
    {"DNS2", Kind::Address, Block::Settings, 110, 4, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "DNS 2")},
    {"MbsAdr", Kind::Number, Block::Settings, 114, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Modbus address")},
    // The device keeps Rx before Tx, the reverse of the list order.
    {"TxSetting", Kind::Serial, Block::Settings, 118, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Baud Tx")},
    {"RxSetting", Kind::Serial, Block::Settings, 116, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Baud Rx")},
    {"ToutWaitNext", Kind::NumberX10, Block::Settings, 120, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Timeout wait next")},
    {"ToutWaitAnsw", Kind::NumberX10, Block::Settings, 122, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Timeout answer")},
    {"RestartTimeSrv", Kind::Number, Block::Settings, 124, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Server restart time")},
    {"RestartTimeMdm", Kind::Number, Block::Settings, 126, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Modem restart time")},
    {"DisconnectTime", Kind::Number, Block::Settings, 128, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Disconnect time")},
    {"ToutWaitNextPacket", Kind::NumberX10, Block::Settings, 130, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Timeout next")},
    {"ToutBetwenBytes", Kind::NumberX10, Block::Settings, 132, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Timeout between")},
    {"MaxNumBytes", Kind::Number, Block::Settings, 134, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Max number of bytes")},
    {"TryNum", Kind::Number, Block::Settings, 136, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Trying number")},
    {"AnswersNum", Kind::Number, Block::Settings, 138, 2, false, QT_TRANSLATE_NOOP("MoreSettingsDialog", "Answers number")},
    {"KeepCon", Kind::Number, Block::Settings, 140, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Keep Connection")},
    {"PhNum1", Kind::Text, Block::Entry, 0, 20, true, QT_TRANSLATE_NOOP("MainWindow", "Phone number %1")},
    {"PhNum2", Kind::Text, Block::Entry, 0, 20, true, QT_TRANSLATE_NOOP("MainWindow", "Phone number %1")},
    {"PhNum3", Kind::Text, Block::Entry, 0, 20, true, QT_TRANSLATE_NOOP("MainWindow", "Phone number %1")},
    {"PhNum4", Kind::Text, Block::Entry, 0, 20, true, QT_TRANSLATE_NOOP("MainWindow", "Phone number %1")},
    {"MirrServ1", Kind::Address, Block::Entry, 20, 4, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror server %1")},
    {"MirrServ2", Kind::Address, Block::Entry, 20, 4, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror server %1")},
    {"MirrServ3", Kind::Address, Block::Entry, 20, 4, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror server %1")},
    {"MirrServ4", Kind::Address, Block::Entry, 20, 4, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror server %1")},
    {"MirrPort1", Kind::Number, Block::Entry, 24, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror port %1")},
    {"MirrPort2", Kind::Number, Block::Entry, 24, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror port %1")},
    {"MirrPort3", Kind::Number, Block::Entry, 24, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror port %1")},
    {"MirrPort4", Kind::Number, Block::Entry, 24, 2, true, QT_TRANSLATE_NOOP("MainWindow", "Mirror port %1")},
};

bool validIndex(int index)
{
    return index >= 0 && index < DeviceSettings::Count;
}

// The longest prefix of `utf8` that fits `width` bytes and does not end inside
// a multi-byte sequence.
int fittingLength(const QByteArray &utf8, int width)
{
    if (utf8.size() <= width)
        return utf8.size();
    int length = width;
    while (length > 0 && (quint8(utf8.at(length)) & 0xC0) == 0x80)
        --length;
    return length;
}

void storeWord(char *at, quint16 word)
{
    at[0] = char(word & 0xFF);
    at[1] = char(word >> 8);
}

quint16 loadWord(const char *at)
{
    return quint16(quint8(at[0]) | (quint8(at[1]) << 8));
}

// What `text` alone puts into the field: `field.width` bytes.
QByteArray encodeValue(const Field &field, const QString &text)
{
    QByteArray image(field.width, '\0');
    char *at = image.data();
    switch (field.kind) {
    case Kind::Text: {
        // Zero-filled, so a shorter text is NUL-terminated already; one of
        // exactly the width fills the field with no NUL.
        const QByteArray bytes = text.toUtf8();
        std::memcpy(at, bytes.constData(), size_t(fittingLength(bytes, field.width)));
        break;
    }
    case Kind::Address: {
        const std::array<quint8, 4> octets = parseAddress(text);
        for (int i = 0; i < 4; ++i)
            at[i] = char(octets[size_t(i)]);
        break;
    }
    case Kind::Serial:
        storeWord(at, parseSerialSettings(text));
        break;
    case Kind::Number:
        storeWord(at, quint16(parseDecimal(text) & 0xFFFF));
        break;
    case Kind::NumberX10:
        // C++ division truncates toward zero, as the device expects.
        storeWord(at, quint16((parseDecimal(text) / 10) & 0xFFFF));
        break;
    }
    return image;
}

// The bytes of a text field: up to its NUL, or its whole width.
QByteArray textBytes(const char *at, int width)
{
    return QByteArray(at, int(qstrnlen(at, uint(width))));
}

// UTF-8 where the bytes are UTF-8, and Latin-1 for each byte that is not
// part of a valid sequence, as older tools wrote their texts. A leading
// byte order mark is kept: a text field is taken as it stands.
QString decodeText(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (int i = 0; i < bytes.size();) {
        const auto lead = quint8(bytes.at(i));
        const int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                         : (lead & 0xF8) == 0xF0 ? 4 : 0;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length > 1 && i + length <= bytes.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = quint8(bytes.at(i + k));
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond Unicode.
        static const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= smallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (valid && QChar::requiresSurrogates(code)) {
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
            i += length;
        } else if (valid) {
            text += QChar(char16_t(code));   // not fromUcs4, which drops a byte order mark
            i += length;
        } else {
            text += QChar(lead);   // ASCII, or a Latin-1 byte
            ++i;
        }
    }
    return text;
}

// What the field's own bytes at `at` read as.
QString decodeValue(const Field &field, const char *at)
{
    switch (field.kind) {
    case Kind::Text:
        return decodeText(textBytes(at, field.width));
    case Kind::Address:
        return formatAddress({quint8(at[0]), quint8(at[1]), quint8(at[2]), quint8(at[3])});
    case Kind::Serial:
        return formatSerialSettings(loadWord(at));
    case Kind::Number:
        return QString::number(loadWord(at));
    case Kind::NumberX10:
        return QString::number(int(loadWord(at)) * 10);
    }
    return QString();
}

// A block of the full size: the given bytes, then zeros.
QByteArray padded(const QByteArray &block, int size)
{
    QByteArray full(size, '\0');
    std::memcpy(full.data(), block.constData(), size_t(qMin(block.size(), size)));
    return full;
}

// Only plain ASCII digits: no sign, no blanks, no other scripts' digits. The
// codecs would quietly accept " 5" or "+5" and read "5x" as 0; the check
// refuses anything that is not exactly a number.
bool plainNumber(const QString &text, quint64 maximum)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 10);
    return ok && value <= maximum;
}

QString textProblem(const QString &text, int width)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            return QCoreApplication::translate("DeviceSettings", "the text contains a NUL character");
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return QCoreApplication::translate("DeviceSettings",
                    "the text contains an unpaired surrogate character");
    }
    const int bytes = text.toUtf8().size();
    if (bytes > width)
        return QCoreApplication::translate("DeviceSettings",
                "the text takes %1 bytes but the field holds %2")
            .arg(bytes).arg(width);
    return QString();
}

QString addressProblem(const QString &text)
{
    // Fewer parts would be stored with zeros for the missing octets, so
    // "10.1" would come back as 10.1.0.0.
    const QStringList parts = text.split(QLatin1Char('.'));
    bool octets = parts.size() == 4;
    for (const QString &part : parts)
        octets = octets && plainNumber(part, 255);
    if (!octets)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" is not an address of four numbers from 0 to 255 separated by dots, such as 192.168.0.1")
            .arg(printableExcerpt(text));
    return QString();
}

QString serialProblem(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 6)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" has more than six parts; expected e.g. 9600,8,1,N,0,0")
            .arg(printableExcerpt(text));

    auto numberIn = [](const QString &part, const QList<quint64> &allowed) {
        return plainNumber(part, 0xFFFFFFFFu) && allowed.contains(part.toULongLong());
    };
    if (!plainNumber(parts.at(0), 0xFFFFFFFFu) || !DeviceSettings::baudRates().contains(parts.at(0).toInt()))
        return QCoreApplication::translate("DeviceSettings",
                "the baud rate \"%1\" is not one the device supports")
            .arg(printableExcerpt(parts.at(0)));
    // A missing part would be stored as its zero: 5 data bits, 2 stop bits.
    if (parts.size() < 4)
        return QCoreApplication::translate("DeviceSettings",
                "\"%1\" lacks the data bits, stop bits or parity; expected e.g. 9600,8,1,N,0,0")
            .arg(printableExcerpt(text));
    // The device reads two bits of the data-bits field, so 9 would come back as 8.
    if (!numberIn(parts.at(1), {5, 6, 7, 8}))
        return QCoreApplication::translate("DeviceSettings",
                "the data bits \"%1\" are not 5, 6, 7 or 8")
            .arg(printableExcerpt(parts.at(1)));
    if (!numberIn(parts.at(2), {1, 2}))
        return QCoreApplication::translate("DeviceSettings",
                "the stop bits \"%1\" are not 1 or 2")
            .arg(printableExcerpt(parts.at(2)));
    const QString &parity = parts.at(3);
    if (parity.size() != 1 || !QStringLiteral("NEOSM").contains(parity.at(0)))
        return QCoreApplication::translate("DeviceSettings",
                "the parity \"%1\" is not N, E, O, S or M")
            .arg(printableExcerpt(parity));
    for (int i = 4; i < parts.size(); ++i) {
        if (!numberIn(parts.at(i), {0, 1}))
            return QCoreApplication::translate("DeviceSettings",
                    "the option \"%1\" is not 0 or 1")
                .arg(printableExcerpt(parts.at(i)));
    }
    return QString();
}

// Every value but a text is stored as a number, and an empty field as its
// zero, which reads back as "0", "0.0.0.0" or 300 baud with 5 data bits.
QString emptyProblem(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return QString();
    case Kind::Address:
        return QCoreApplication::translate("DeviceSettings", "the address is empty; type 0.0.0.0 for none");
    case Kind::Serial:
        return QCoreApplication::translate("DeviceSettings",
                "the serial setting is empty; expected e.g. 9600,8,1,N,0,0");
    case Kind::Number:
    case Kind::NumberX10:
        return QCoreApplication::translate("DeviceSettings", "the number is empty; type 0 for none");
    }
    return QString();
}

QString problemOf(const Field &field, const QString &text)
{
    if (text.isEmpty())
        return emptyProblem(field.kind);
    switch (field.kind) {
    case Kind::Text:
        return textProblem(text, field.width);
    case Kind::Address:
        return addressProblem(text);
    case Kind::Serial:
        return serialProblem(text);
    case Kind::Number:
        if (!plainNumber(text, 65535))
            return QCoreApplication::translate("DeviceSettings",
                    "\"%1\" is not a whole number from 0 to 65535")
                .arg(printableExcerpt(text));
        return QString();
    case Kind::NumberX10:
        if (!plainNumber(text, 655359))
            return QCoreApplication::translate("DeviceSettings",
                    "\"%1\" is not a whole number from 0 to 655359")
                .arg(printableExcerpt(text));
        if (text.toULongLong() % 10 != 0)
            return QCoreApplication::translate("DeviceSettings",
                    "the modem keeps this time in steps of 10, so \"%1\" would read back as %2")
                .arg(text)
                .arg(text.toULongLong() / 10 * 10);
        return QString();
    }
    return QString();
}

} // namespace

const QList<int> &DeviceSettings::baudRates()
{
    return supportedBaudRates();
}

DeviceSettings DeviceSettings::asWritten(bool withKeepCon) const
{
    DeviceSettings stored;
    stored.decodeSettingsBlock(encodeSettingsBlock(withKeepCon), withKeepCon);
    for (int k = 0; k < EntryBlockCount; ++k)
        stored.decodeEntryBlock(k, encodeEntryBlock(k));
    return stored;
}

QString SettingProblem::message() const
{
    if (!exists())
        return QString();
    return QCoreApplication::translate("DeviceSettings",
            "Cannot write %1 (%2): %3")
        .arg(DeviceSettings::label(index), DeviceSettings::key(index), reason);
}

DeviceSettings::DeviceSettings() = default;

const QString &DeviceSettings::value(int index) const
{
    static const QString none;
    return validIndex(index) ? m_values[size_t(index)] : none;
}

void DeviceSettings::setValue(int index, const QString &text)
{
    if (!validIndex(index))
        return;
    // Bytes read stand for the text only while it is the same.
    if (text != m_values[size_t(index)])
        m_read[size_t(index)] = QByteArray();
    m_values[size_t(index)] = text;
}

void DeviceSettings::decodeEntry(int index, const char *block)
{
    const Field &field = fields[index];
    m_values[size_t(index)] = decodeValue(field, block + field.offset);
    m_read[size_t(index)] = QByteArray(block + field.offset, field.width);
}

void DeviceSettings::encodeEntry(int index, char *block) const
{
    const QByteArray image = fieldImage(index);
    std::memcpy(block + fields[index].offset, image.constData(), size_t(image.size()));
}

QByteArray DeviceSettings::fieldImage(int index) const
{
    if (!validIndex(index))
        return QByteArray();
    const QByteArray &read = m_read[size_t(index)];
    return read.isNull() ? encodeValue(fields[index], m_values[size_t(index)]) : read;
}

QByteArray DeviceSettings::readBytes(int index) const
{
    return validIndex(index) ? m_read[size_t(index)] : QByteArray();
}

QByteArray DeviceSettings::imageOf(int index, const QString &text)
{
    return validIndex(index) ? encodeValue(fields[index], text) : QByteArray();
}

QString DeviceSettings::textOf(int index, const QByteArray &image)
{
    if (!validIndex(index) || image.size() != fields[index].width)
        return QString();
    return decodeValue(fields[index], image.constData());
}

bool DeviceSettings::setFieldImage(int index, const QByteArray &image)
{
    const QString text = textOf(index, image);
    if (text.isNull())
        return false;
    m_values[size_t(index)] = text;
    m_read[size_t(index)] = image;
    return true;
}

void DeviceSettings::takeEntry(int index, const DeviceSettings &other)
{
    if (!validIndex(index))
        return;
    m_values[size_t(index)] = other.m_values[size_t(index)];
    m_read[size_t(index)] = other.m_read[size_t(index)];
}

QString DeviceSettings::key(int index)
{
    return validIndex(index) ? QString::fromLatin1(fields[index].key) : QString();
}

int DeviceSettings::indexOfKey(const QString &key)
{
    for (int i = 0; i < Count; ++i) {
        if (key == QLatin1String(fields[i].key))
            return i;
    }
    return -1;
}

bool DeviceSettings::hasFormWidget(int index)
{
    return validIndex(index) && fields[index].hasWidget;
}

QString DeviceSettings::label(int index)
{
    if (!validIndex(index))
        return QString();
    const Field &field = fields[index];
    const QString caption = QCoreApplication::translate(field.hasWidget ? "MainWindow" : "MoreSettingsDialog",
                                                        field.label);
    return field.block == Block::Entry ? caption.arg(blockOf(index)) : caption;
}

int DeviceSettings::blockOf(int index)
{
    return validIndex(index) && fields[index].block == Block::Entry ? 1 + (index - PhNum1) % EntryBlockCount : 0;
}

int DeviceSettings::firstRegister(int block)
{
    return block <= 0 ? 0 : EntryBlocksStart + EntryBlockStride * (block - 1);
}

int DeviceSettings::blockBytes(int block, bool withKeepCon)
{
    if (block > 0)
        return EntryBlockBytes;
    return withKeepCon ? SettingsBlockBytesWithKeepCon : SettingsBlockBytes;
}

QByteArray DeviceSettings::encodeBlock(int block, bool withKeepCon) const
{
    return block == 0 ? encodeSettingsBlock(withKeepCon) : encodeEntryBlock(block - 1);
}

void DeviceSettings::decodeBlock(int block, const QByteArray &image, bool withKeepCon)
{
    if (block == 0)
        decodeSettingsBlock(image, withKeepCon);
    else
        decodeEntryBlock(block - 1, image);
}

DeviceSettings::Blocks DeviceSettings::blocksDifferingFrom(const DeviceSettings &other, bool withKeepCon) const
{
    Blocks differing;
    for (int block = 0; block < BlockCount; ++block)
        differing[size_t(block)] = encodeBlock(block, withKeepCon) != other.encodeBlock(block, withKeepCon);
    return differing;
}

QList<int> DeviceSettings::entriesDifferingFrom(const DeviceSettings &other, Blocks blocks, bool withKeepCon) const
{
    QList<int> differing;
    for (int index = 0; index < Count; ++index) {
        if (blocks.test(size_t(blockOf(index))) && (index != KeepCon || withKeepCon)
            && fieldImage(index) != other.fieldImage(index))
            differing << index;
    }
    return differing;
}

QByteArray DeviceSettings::encodeSettingsBlock(bool withKeepCon) const
{
    QByteArray block(withKeepCon ? SettingsBlockBytesWithKeepCon : SettingsBlockBytes, '\0');
    const int last = withKeepCon ? KeepCon : KeepCon - 1;
    for (int i = 0; i <= last; ++i)
        encodeEntry(i, block.data());
    return block;
}

void DeviceSettings::decodeSettingsBlock(const QByteArray &block, bool withKeepCon)
{
    const QByteArray full = padded(block, withKeepCon ? SettingsBlockBytesWithKeepCon : SettingsBlockBytes);
    for (int i = 0; i < KeepCon; ++i)
        decodeEntry(i, full.constData());
    if (withKeepCon)
        decodeEntry(KeepCon, full.constData());
    else
        setValue(KeepCon, QStringLiteral("0"));
}

QByteArray DeviceSettings::encodeEntryBlock(int k) const
{
    if (k < 0 || k >= EntryBlockCount)
        return QByteArray();
    QByteArray block(EntryBlockBytes, '\0');
    for (int first : {PhNum1, MirrServ1, MirrPort1})
        encodeEntry(first + k, block.data());
    return block;
}

void DeviceSettings::decodeEntryBlock(int k, const QByteArray &block)
{
    if (k < 0 || k >= EntryBlockCount)
        return;
    const QByteArray full = padded(block, EntryBlockBytes);
    for (int first : {PhNum1, MirrServ1, MirrPort1})
        decodeEntry(first + k, full.constData());
}

SettingProblem DeviceSettings::firstProblem(Blocks blocks) const
{
    for (int i = 0; i < Count; ++i) {
        if (!blocks.test(size_t(blockOf(i))))
            continue;
        SettingProblem found = problem(i);
        if (found.exists())
            return found;
    }
    return SettingProblem();
}

SettingProblem DeviceSettings::problem(int index) const
{
    if (!validIndex(index) || !m_read[size_t(index)].isNull())
        return SettingProblem();
    return check(index, m_values[size_t(index)]);
}

SettingProblem DeviceSettings::check(int index, const QString &text)
{
    SettingProblem problem;
    if (!validIndex(index))
        return problem;
    const QString reason = problemOf(fields[index], text);
    if (!reason.isEmpty()) {
        problem.index = index;
        problem.reason = reason;
    }
    return problem;
}
