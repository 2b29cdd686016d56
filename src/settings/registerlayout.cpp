#include "registerlayout.h"

#include "devicesettings.h"

#include <QtGlobal>

#include <iterator>

namespace RegisterLayout {
namespace {

using DS = DeviceSettings;

// One row per record entry, in index order. The labels are the window's
// captions: a message names a setting exactly as the window does.
constexpr Field fields[] = {
    {"apnServer", QT_TRANSLATE_NOOP("SettingLabel", "Apn server"), Kind::Text, 0, 42, 32},
    {"apnLogin", QT_TRANSLATE_NOOP("SettingLabel", "Apn login"), Kind::Text, 0, 74, 14},
    {"apnPassword", QT_TRANSLATE_NOOP("SettingLabel", "Apn password"), Kind::Text, 0, 88, 14},
    {"own_Ph", QT_TRANSLATE_NOOP("SettingLabel", "Own phone number"), Kind::Text, 0, 0, 14},
    {"sc_Ph", QT_TRANSLATE_NOOP("SettingLabel", "SMS centre number"), Kind::Text, 0, 14, 14},
    {"sms_Ph", QT_TRANSLATE_NOOP("SettingLabel", "SMS phone number"), Kind::Text, 0, 28, 14},
    {"IP", QT_TRANSLATE_NOOP("SettingLabel", "IP address"), Kind::Address, 0, 102, 4},
    {"DNS1", QT_TRANSLATE_NOOP("SettingLabel", "DNS 1"), Kind::Address, 0, 106, 4},
    {"DNS2", QT_TRANSLATE_NOOP("SettingLabel", "DNS 2"), Kind::Address, 0, 110, 4},
    {"MbsAdr", QT_TRANSLATE_NOOP("SettingLabel", "Modbus address"), Kind::Number, 0, 114, 2},
    // The device keeps Rx before Tx, the reverse of the list order.
    {"TxSetting", QT_TRANSLATE_NOOP("SettingLabel", "Baud Tx"), Kind::Serial, 0, 118, 2},
    {"RxSetting", QT_TRANSLATE_NOOP("SettingLabel", "Baud Rx"), Kind::Serial, 0, 116, 2},
    {"ToutWaitNext", QT_TRANSLATE_NOOP("SettingLabel", "Timeout wait next"), Kind::NumberX10, 0, 120, 2},
    {"ToutWaitAnsw", QT_TRANSLATE_NOOP("SettingLabel", "Timeout answer"), Kind::NumberX10, 0, 122, 2},
    {"RestartTimeSrv", QT_TRANSLATE_NOOP("SettingLabel", "Server restart time"), Kind::Number, 0, 124, 2},
    {"RestartTimeMdm", QT_TRANSLATE_NOOP("SettingLabel", "Modem restart time"), Kind::Number, 0, 126, 2},
    {"DisconnectTime", QT_TRANSLATE_NOOP("SettingLabel", "Disconnect time"), Kind::Number, 0, 128, 2},
    {"ToutWaitNextPacket", QT_TRANSLATE_NOOP("SettingLabel", "Timeout next"), Kind::NumberX10, 0, 130, 2},
    {"ToutBetwenBytes", QT_TRANSLATE_NOOP("SettingLabel", "Timeout between"), Kind::NumberX10, 0, 132, 2},
    {"MaxNumBytes", QT_TRANSLATE_NOOP("SettingLabel", "Max number of bytes"), Kind::Number, 0, 134, 2},
    {"TryNum", QT_TRANSLATE_NOOP("SettingLabel", "Trying number"), Kind::Number, 0, 136, 2},
    {"AnswersNum", QT_TRANSLATE_NOOP("SettingLabel", "Answers number"), Kind::Number, 0, 138, 2},
    // Only in the longer form of the settings block.
    {"KeepCon", QT_TRANSLATE_NOOP("SettingLabel", "Keep Connection"), Kind::Number, 0, 140, 2},
    // Entry block k holds phone number, mirror server and mirror port k + 1.
    {"PhNum1", QT_TRANSLATE_NOOP("SettingLabel", "Phone number %1"), Kind::Text, 1, 0, 20},
    {"PhNum2", QT_TRANSLATE_NOOP("SettingLabel", "Phone number %1"), Kind::Text, 2, 0, 20},
    {"PhNum3", QT_TRANSLATE_NOOP("SettingLabel", "Phone number %1"), Kind::Text, 3, 0, 20},
    {"PhNum4", QT_TRANSLATE_NOOP("SettingLabel", "Phone number %1"), Kind::Text, 4, 0, 20},
    {"MirrServ1", QT_TRANSLATE_NOOP("SettingLabel", "Mirror server %1"), Kind::Address, 1, 20, 4},
    {"MirrServ2", QT_TRANSLATE_NOOP("SettingLabel", "Mirror server %1"), Kind::Address, 2, 20, 4},
    {"MirrServ3", QT_TRANSLATE_NOOP("SettingLabel", "Mirror server %1"), Kind::Address, 3, 20, 4},
    {"MirrServ4", QT_TRANSLATE_NOOP("SettingLabel", "Mirror server %1"), Kind::Address, 4, 20, 4},
    {"MirrPort1", QT_TRANSLATE_NOOP("SettingLabel", "Mirror port %1"), Kind::Number, 1, 24, 2},
    {"MirrPort2", QT_TRANSLATE_NOOP("SettingLabel", "Mirror port %1"), Kind::Number, 2, 24, 2},
    {"MirrPort3", QT_TRANSLATE_NOOP("SettingLabel", "Mirror port %1"), Kind::Number, 3, 24, 2},
    {"MirrPort4", QT_TRANSLATE_NOOP("SettingLabel", "Mirror port %1"), Kind::Number, 4, 24, 2},
};

constexpr Block blocks[] = {
    {0x000, 140, 142},   // 70 registers, 71 with the keep-connection one
    {0x100, 26, 26},     // 13 registers each
    {0x140, 26, 26},
    {0x180, 26, 26},
    {0x1C0, 26, 26},
};

// The two values that travel beside the record, in the file order.
constexpr int ComPortSlot = -1;
constexpr int EnableKeepConSlot = -2;

// The main form's settings first, as the first configurator wrote them,
// then the keep-connection flag and the settings the form had no room for.
constexpr int fileOrderSlots[] = {
    ComPortSlot, DS::apnServer, DS::apnLogin, DS::apnPassword, DS::TxSetting, DS::RxSetting, DS::ToutWaitAnsw,
    DS::ToutWaitNextPacket, DS::ToutBetwenBytes, DS::TryNum,
    DS::MirrServ1, DS::MirrServ2, DS::MirrServ3, DS::MirrServ4, DS::MirrPort1, DS::MirrPort2, DS::MirrPort3,
    DS::MirrPort4, DS::PhNum1, DS::PhNum2, DS::PhNum3, DS::PhNum4, DS::KeepCon, EnableKeepConSlot,
    DS::own_Ph, DS::sc_Ph, DS::sms_Ph, DS::IP, DS::DNS1, DS::DNS2, DS::MbsAdr, DS::RestartTimeSrv,
    DS::RestartTimeMdm, DS::DisconnectTime, DS::ToutWaitNext, DS::MaxNumBytes, DS::AnswersNum,
};

// What the rest of the code takes for granted of the tables, checked where
// they are written.
static_assert(std::size(fields) == DS::Count, "a row for every entry");
static_assert(std::size(blocks) == DS::BlockCount, "a row for every block");
static_assert(blocks[0].bytes == DS::SettingsBlockBytes && blocks[0].bytesWithKeepCon == DS::SettingsBlockBytesWithKeepCon
                  && blocks[1].bytes == DS::EntryBlockBytes && blocks[1].firstRegister == DS::EntryBlocksStart
                  && blocks[2].firstRegister - blocks[1].firstRegister == DS::EntryBlockStride,
              "the record's named sizes are the table's");

constexpr bool settingsBlockHoldsTheFirstEntries()
{
    for (int index = 0; index < DS::Count; ++index) {
        if ((fields[index].block == 0) != (index < DS::SettingsBlockEntries))
            return false;
    }
    return true;
}
static_assert(settingsBlockHoldsTheFirstEntries(), "the settings block holds entries 0..22");

constexpr bool fieldsLieInTheirBlocks()
{
    for (const Field &field : fields) {
        if (field.block < 0 || field.block >= DS::BlockCount || field.offset < 0 || field.width <= 0
            || field.offset + field.width > blocks[field.block].bytesWithKeepCon)
            return false;
        // The short form may only drop the last field of its block.
        if (field.offset < blocks[field.block].bytes && field.offset + field.width > blocks[field.block].bytes)
            return false;
    }
    return true;
}
static_assert(fieldsLieInTheirBlocks(), "every field inside its block");

constexpr bool noFieldsOverlap()
{
    for (const Field &one : fields) {
        for (const Field &other : fields) {
            if (&one != &other && one.block == other.block && one.offset < other.offset + other.width
                && other.offset < one.offset + one.width)
                return false;
        }
    }
    return true;
}
static_assert(noFieldsOverlap(), "no two fields of a block share a byte");

constexpr bool fileOrderNamesEachKeyOnce()
{
    if (std::size(fileOrderSlots) != DS::Count + 2)
        return false;
    for (int wanted = EnableKeepConSlot; wanted < DS::Count; ++wanted) {
        int found = 0;
        for (int slot : fileOrderSlots)
            found += slot == wanted ? 1 : 0;
        if (found != 1)
            return false;
    }
    return true;
}
static_assert(fileOrderNamesEachKeyOnce(), "a settings file lists every key once");

} // namespace

const Field &field(int index)
{
    return fields[index];
}

const Block &block(int number)
{
    return blocks[number];
}

bool carries(int index, bool withKeepCon)
{
    const Field &entry = fields[index];
    const Block &holder = blocks[entry.block];
    return entry.offset + entry.width <= (withKeepCon ? holder.bytesWithKeepCon : holder.bytes);
}

const QVector<SettingKey> &fileOrder()
{
    static const QVector<SettingKey> keys = [] {
        QVector<SettingKey> order;
        for (int slot : fileOrderSlots) {
            SettingKey key;
            key.target = slot == ComPortSlot ? SettingKey::ComPort
                       : slot == EnableKeepConSlot ? SettingKey::EnableKeepCon
                                                   : SettingKey::Entry;
            key.index = slot >= 0 ? slot : -1;
            order << key;
        }
        return order;
    }();
    return keys;
}

} // namespace RegisterLayout
