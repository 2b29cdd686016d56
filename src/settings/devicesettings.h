#ifndef DEVICESETTINGS_H
#define DEVICESETTINGS_H

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <array>
#include <bitset>

// Why an entry cannot be written to the device. A default-constructed problem
// means "none".
struct SettingProblem {
    int index = -1;          // DeviceSettings index of the offending entry
    QString reason;          // translated, e.g. "the baud rate 56000 is not supported"

    bool exists() const { return index >= 0; }
    // A status-bar text naming the setting as the window labels it, its key
    // and the reason; empty when valid.
    QString message() const;
};

// The modem's 35 parameters, each held as the text the form and the settings
// files show, and their images in the device's register blocks.
//
// Block images are in host order: a 16-bit value low byte first, address
// octets in text order, texts as UTF-8 (read as Latin-1 where they are not
// UTF-8). Every entry keeps the bytes of its field as they were read, for
// as long as its text stays the same, and goes back in them: what the text
// does not show (Latin-1, control bytes, bytes after a text's NUL, the
// reserved bits of a serial word) is never lost on the way. The pair swap
// for the wire is the framing code's business.
class DeviceSettings {
public:
    enum Index : int { apnServer, apnLogin, apnPassword, own_Ph, sc_Ph, sms_Ph, IP, DNS1, DNS2, MbsAdr,
        TxSetting, RxSetting, ToutWaitNext, ToutWaitAnsw, RestartTimeSrv, RestartTimeMdm, DisconnectTime,
        ToutWaitNextPacket, ToutBetwenBytes, MaxNumBytes, TryNum, AnswersNum, KeepCon,
        PhNum1, PhNum2, PhNum3, PhNum4, MirrServ1, MirrServ2, MirrServ3, MirrServ4,
        MirrPort1, MirrPort2, MirrPort3, MirrPort4 };
    static constexpr int Count = 35;
    // The register layout's sizes by name, checked against its table
    // (registerlayout.cpp) where it is written.
    static constexpr int EntryBlockCount = 4;
    static constexpr int SettingsBlockBytes = 140;              // 70 registers, no KeepCon
    static constexpr int SettingsBlockBytesWithKeepCon = 142;   // 71 registers
    static constexpr int EntryBlockBytes = 26;                  // 13 registers
    static constexpr int SettingsBlockEntries = KeepCon + 1;    // entries 0..22 live in the settings block

    // The five register blocks in the order a job moves them: the settings
    // block (0), then entry block k (1 + k). A set of them has bit b for block b.
    static constexpr int BlockCount = 1 + EntryBlockCount;
    static constexpr int EntryBlocksStart = 0x100;       // entry block k starts at 0x100 + 0x40·k
    static constexpr int EntryBlockStride = 0x40;
    using Blocks = std::bitset<BlockCount>;
    static Blocks allBlocks() { return Blocks().set(); }
    static int blockOf(int index);                      // the block that holds entry `index`
    static int firstRegister(int block);                // 0, then 256 + 64k
    static int blockBytes(int block, bool withKeepCon); // 140 or 142, then 26

    DeviceSettings();                                   // 35 empty texts

    // An index outside 0..34 reads as an empty text and is ignored on write.
    const QString &value(int index) const;
    void setValue(int index, const QString &text);

    // Records with the same texts are equal, whatever bytes the texts were read from.
    bool operator==(const DeviceSettings &other) const { return m_values == other.m_values; }
    bool operator!=(const DeviceSettings &other) const { return !(*this == other); }

    static QString key(int index);                      // "apnServer" ... "MirrPort4"; empty outside 0..34
    static int indexOfKey(const QString &key);          // exact, case-sensitive; -1 if not one of the 35
    // The setting as the window labels it ("Baud Tx", "Phone number 2", "DNS 1"),
    // in the installed translation: how every front end's messages name it.
    static QString label(int index);

    // Settings block: entries 0..22, 140 bytes, or 142 with KeepCon.
    QByteArray encodeSettingsBlock(bool withKeepCon) const;
    // Bytes past the end of a short block read as 0, extra bytes are ignored;
    // without KeepCon in the block, KeepCon becomes "0".
    void decodeSettingsBlock(const QByteArray &block, bool withKeepCon);
    // Entry block k (0..3): entries PhNum(k+1), MirrServ(k+1), MirrPort(k+1);
    // 26 bytes, or an empty array for k outside 0..3.
    QByteArray encodeEntryBlock(int k) const;
    void decodeEntryBlock(int k, const QByteArray &block);
    // Either of the above by block number.
    QByteArray encodeBlock(int block, bool withKeepCon) const;
    void decodeBlock(int block, const QByteArray &image, bool withKeepCon);
    // The blocks whose images differ: what a write of `other` over a modem
    // holding this record has to send.
    Blocks blocksDifferingFrom(const DeviceSettings &other, bool withKeepCon) const;
    // The entries of `blocks`, in index order, whose field bytes differ from
    // `other`'s; KeepCon only when the settings block carries it.
    QList<int> entriesDifferingFrom(const DeviceSettings &other, Blocks blocks, bool withKeepCon) const;

    // What the device gives back once this record is written: every entry
    // through its block's encoding and decoding ("007" comes back as "7").
    DeviceSettings asWritten(bool withKeepCon) const;
    // The rates the device's serial side supports, ascending.
    static const QList<int> &baudRates();

    // The bytes entry `index` puts into its device field (2 for a number or
    // a serial word, 4 for an address, the width of a text field): those it
    // was read from while its text is unchanged, else its text's encoding.
    QByteArray fieldImage(int index) const;
    // The bytes of the field the entry was read from, a text's past its NUL
    // included, while its text is unchanged; null otherwise.
    QByteArray readBytes(int index) const;
    // What `text` alone puts into entry `index`'s field.
    static QByteArray imageOf(int index, const QString &text);
    // The text that the field bytes `image` read back as; null when `image`
    // does not have the field's size.
    static QString textOf(int index, const QByteArray &image);
    // Takes `image` as entry `index`'s field, as a Read does: the text is
    // what it reads as, and the bytes go back as they are. False, changing
    // nothing, when `image` does not have the field's size.
    bool setFieldImage(int index, const QByteArray &image);
    // Entry `index` of `other`: its text, and the bytes it was read from.
    void takeEntry(int index, const DeviceSettings &other);

    // The checks before a write (settingchecks.cpp).
    // The first entry of `blocks`, in index order, whose text the device
    // cannot hold as written; none exists when every one can be written.
    // Encoding never fails, it stores a defined value for any text, so a write
    // asks this first instead of sending a value the operator did not mean.
    SettingProblem firstProblem(Blocks blocks = allBlocks()) const;
    // The same for entry `index`. An entry that goes back in the bytes it
    // was read from has none: the modem held them.
    SettingProblem problem(int index) const;
    // The check for a text given as entry `index`.
    static SettingProblem check(int index, const QString &text);

private:
    static bool validIndex(int index) { return index >= 0 && index < Count; }
    static bool validBlock(int block) { return block >= 0 && block < BlockCount; }
    void decodeEntry(int index, const char *block);
    void encodeEntry(int index, char *block) const;

    std::array<QString, Count> m_values;
    // The bytes of each field as read, while its text is unchanged; null
    // otherwise.
    std::array<QByteArray, Count> m_read;
};

Q_DECLARE_METATYPE(DeviceSettings)

#endif // DEVICESETTINGS_H
