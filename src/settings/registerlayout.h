#ifndef REGISTERLAYOUT_H
#define REGISTERLAYOUT_H

#include "settingkeys.h"

#include <QVector>

// Where the modem keeps each of its 35 settings, as data. The record and
// its block images, the checks before a write and the settings file's order
// of keys all read this one table, so a setting is named and placed once.
//
// Offsets are in host order: a 16-bit value low byte first, an address's
// octets in text order. The pair swap for the wire is the framing's.
namespace RegisterLayout {

// How a field's bytes stand for its text.
enum class Kind {
    Text,        // UTF-8 up to a NUL or the field's end
    Address,     // four octets
    Serial,      // the serial-settings word
    Number,      // unsigned 16 bits
    NumberX10,   // unsigned 16 bits holding a tenth of the text's number
};

struct Field {
    const char *key;     // the record's and the settings file's name of it
    // How messages name it, the window's caption, translated in the
    // context "SettingLabel"; "%1" takes the entry block's number.
    const char *label;
    Kind kind;
    int block;           // 0 the settings block, 1 + k entry block k
    int offset;          // bytes into the block
    int width;           // bytes
};

struct Block {
    int firstRegister;
    int bytes;               // without the keep-connection register
    int bytesWithKeepCon;
};

// Record entry `index` (0..34), in the order of the record's indexes.
const Field &field(int index);
// Block 0..4, in the order a job moves them.
const Block &block(int number);
// Whether the blocks of the form `withKeepCon` carry entry `index`: all
// but KeepCon are in both.
bool carries(int index, bool withKeepCon);
// The 37 keys of a settings file, in the order it lists them.
const QVector<SettingKey> &fileOrder();

} // namespace RegisterLayout

#endif // REGISTERLAYOUT_H
