#ifndef SETTINGEDITORS_H
#define SETTINGEDITORS_H

#include "devicesettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <bitset>

class QCheckBox;
class QLineEdit;
class QWidget;

// The widgets that show the modem's 35 settings, wherever they stand, and
// what the window knows of each: whether a Read, a Load or the technician's
// own typing has set it since start-up, and the bytes a Read or a file gave
// it. A setting nobody has seen must not go to the modem as whatever its
// empty field happens to say, and one nobody changed goes back to the modem,
// or into a file, in the bytes it came in.
class SettingEditors {
public:
    // Gives each entry its editor before use, found by its object name: on
    // the main form, or else on `page`, the page of the others. An editor is
    // a line edit, or for KeepCon a check box; typing into it, or clicking
    // it, makes its value known.
    void attach(QWidget *form, QWidget *page);
    // The object name of entry `index`'s editor: its key and "LineEdit",
    // but where the main form names it otherwise.
    static QString editorName(int index);

    QString value(int index) const;
    // Shows entry `index` of `record` in its editor, keeping its bytes behind
    // it, and takes it as known.
    void show(int index, const DeviceSettings &record);
    void showAll(const DeviceSettings &record);
    // The editors' values; a text still as shown keeps the bytes it came in.
    DeviceSettings record() const;

    bool isKnown(int index) const { return known.test(size_t(index)); }
    // An entry without a field on the main form that is still unknown.
    bool isUnknownHidden(int index) const { return hidden.test(size_t(index)) && !isKnown(index); }
    // Those entries, as the window labels them.
    QStringList unknownHiddenLabels() const;
    // Greys the values shown, which are not the connected modem's (a Read
    // failed), or shows them as usual again.
    void showNotFromModem(bool notFromModem);

private:
    void add(int index, QLineEdit *field);
    void add(int index, QCheckBox *box);
    void markKnown(int index);

    std::array<QWidget *, DeviceSettings::Count> editors{};
    std::bitset<DeviceSettings::Count> hidden;   // not on the main form
    std::bitset<DeviceSettings::Count> known;
    DeviceSettings shown;   // what the editors were last given, with its bytes
};

#endif // SETTINGEDITORS_H
