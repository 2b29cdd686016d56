#include "devicesettings.h"

#include "registerlayout.h"
#include "settingscodecs.h"

#include <QCoreApplication>

#include <cstring>

namespace {

using RegisterLayout::Field;
using RegisterLayout::Kind;

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

} // namespace

const QList<int> &DeviceSettings::baudRates()
{
    return supportedBaudRates();
}

DeviceSettings DeviceSettings::asWritten(bool withKeepCon) const
{
    DeviceSettings stored;
    for (int block = 0; block < BlockCount; ++block)
        stored.decodeBlock(block, encodeBlock(block, withKeepCon), withKeepCon);
    return stored;
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
    const Field &field = RegisterLayout::field(index);
    m_values[size_t(index)] = decodeValue(field, block + field.offset);
    m_read[size_t(index)] = QByteArray(block + field.offset, field.width);
}

void DeviceSettings::encodeEntry(int index, char *block) const
{
    const QByteArray image = fieldImage(index);
    std::memcpy(block + RegisterLayout::field(index).offset, image.constData(), size_t(image.size()));
}

QByteArray DeviceSettings::fieldImage(int index) const
{
    if (!validIndex(index))
        return QByteArray();
    const QByteArray &read = m_read[size_t(index)];
    return read.isNull() ? encodeValue(RegisterLayout::field(index), m_values[size_t(index)]) : read;
}

QByteArray DeviceSettings::readBytes(int index) const
{
    return validIndex(index) ? m_read[size_t(index)] : QByteArray();
}

QByteArray DeviceSettings::imageOf(int index, const QString &text)
{
    return validIndex(index) ? encodeValue(RegisterLayout::field(index), text) : QByteArray();
}

QString DeviceSettings::textOf(int index, const QByteArray &image)
{
    if (!validIndex(index) || image.size() != RegisterLayout::field(index).width)
        return QString();
    return decodeValue(RegisterLayout::field(index), image.constData());
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
    return validIndex(index) ? QString::fromLatin1(RegisterLayout::field(index).key) : QString();
}

int DeviceSettings::indexOfKey(const QString &key)
{
    for (int i = 0; i < Count; ++i) {
        if (key == QLatin1String(RegisterLayout::field(i).key))
            return i;
    }
    return -1;
}

QString DeviceSettings::label(int index)
{
    if (!validIndex(index))
        return QString();
    const Field &field = RegisterLayout::field(index);
    const QString caption = QCoreApplication::translate("SettingLabel", field.label);
    return field.block > 0 ? caption.arg(field.block) : caption;
}

int DeviceSettings::blockOf(int index)
{
    return validIndex(index) ? RegisterLayout::field(index).block : 0;
}

int DeviceSettings::firstRegister(int block)
{
    return validBlock(block) ? RegisterLayout::block(block).firstRegister : 0;
}

int DeviceSettings::blockBytes(int block, bool withKeepCon)
{
    const RegisterLayout::Block &layout = RegisterLayout::block(validBlock(block) ? block : 0);
    return withKeepCon ? layout.bytesWithKeepCon : layout.bytes;
}

QByteArray DeviceSettings::encodeBlock(int block, bool withKeepCon) const
{
    if (!validBlock(block))
        return QByteArray();
    QByteArray image(blockBytes(block, withKeepCon), '\0');
    for (int index = 0; index < Count; ++index) {
        if (blockOf(index) == block && RegisterLayout::carries(index, withKeepCon))
            encodeEntry(index, image.data());
    }
    return image;
}

void DeviceSettings::decodeBlock(int block, const QByteArray &image, bool withKeepCon)
{
    if (!validBlock(block))
        return;
    const QByteArray full = padded(image, blockBytes(block, withKeepCon));
    for (int index = 0; index < Count; ++index) {
        if (blockOf(index) != block)
            continue;
        if (RegisterLayout::carries(index, withKeepCon))
            decodeEntry(index, full.constData());
        else   // a register the block leaves out reads as zero: KeepCon "0"
            setValue(index, textOf(index, QByteArray(RegisterLayout::field(index).width, '\0')));
    }
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
        if (blocks.test(size_t(blockOf(index))) && RegisterLayout::carries(index, withKeepCon)
            && fieldImage(index) != other.fieldImage(index))
            differing << index;
    }
    return differing;
}

QByteArray DeviceSettings::encodeSettingsBlock(bool withKeepCon) const
{
    return encodeBlock(0, withKeepCon);
}

void DeviceSettings::decodeSettingsBlock(const QByteArray &block, bool withKeepCon)
{
    decodeBlock(0, block, withKeepCon);
}

QByteArray DeviceSettings::encodeEntryBlock(int k) const
{
    return k >= 0 && k < EntryBlockCount ? encodeBlock(1 + k, true) : QByteArray();
}

void DeviceSettings::decodeEntryBlock(int k, const QByteArray &block)
{
    if (k >= 0 && k < EntryBlockCount)
        decodeBlock(1 + k, block, true);
}
