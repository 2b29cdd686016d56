#ifndef MODBUSSLAVE_H
#define MODBUSSLAVE_H

#include "devicesettings.h"
#include "simulatedmodemoptions.h"

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// The modem's Modbus slave without any line or framing: it takes one
// request (the unit it is meant for, its function and data) and gives the
// answer a real slave would send (or none), deciding which of the fault
// options that change what an answer says strike it; the framing puts them
// on the wire. Timing faults belong to the line and are not its business.
// Not thread-safe; the owner guards it.
class ModbusSlave {
public:
    static constexpr int RegisterCount = 512;
    static constexpr int MaxReadCount = 125;
    static constexpr int MaxWriteCount = 123;
    // Old firmware ends its settings block before KeepCon; the entry blocks
    // from here on are still there.
    static constexpr int OldFirmwareSettingsEnd = DeviceSettings::SettingsBlockBytes / 2;
    static constexpr int EntryBlocksStart = DeviceSettings::EntryBlocksStart;

    enum ExceptionCode : quint8 {
        IllegalFunction = 1,
        IllegalDataAddress = 2,
        IllegalDataValue = 3,
    };

    struct Reply {
        QByteArray pdu;                // the function and its data; empty: the slave stays silent
        quint8 unit = 0;               // the unit the answer comes from
        bool wrongCheck = false;       // the answer's frame check is to fail
        bool registersWritten = false; // a write was performed (answered or broadcast)
        int firstRegister = 0;         // of the request, when it was a read or write
        int count = 0;
    };

    explicit ModbusSlave(quint8 address);

    quint8 address() const { return m_address; }
    void setOptions(const SimulatedModemOptions &options) { m_options = options; }
    const SimulatedModemOptions &options() const { return m_options; }
    // The options as they applied to the last request handled.
    const SimulatedModemOptions &activeOptions() const { return m_active; }

    // Out-of-range indexes read as 0 and are not written.
    quint16 reg(int index) const;
    void setReg(int index, quint16 value);

    // `unit` 0 is every slave at once.
    Reply handle(quint8 unit, const QByteArray &pdu);

    // Whether registers [first, first + count) all exist in the current map.
    bool inMap(int first, int count) const;

private:
    Reply readRegisters(const QByteArray &request, bool broadcast);
    Reply writeRegisters(const QByteArray &request, bool broadcast);
    void finish(Reply &reply, int firstRegister) const;

    quint8 m_address;
    SimulatedModemOptions m_options;
    SimulatedModemOptions m_active;   // m_options as they apply to the request being handled
    QVector<quint16> m_registers;
};

#endif // MODBUSSLAVE_H
