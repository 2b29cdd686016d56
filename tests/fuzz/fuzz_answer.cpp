// The answer check and the block decoding on any answer to one of the ten
// requests of a Read or a Write (chosen by the first byte). Unless bit 6 of
// that byte asks for the bytes as they are, the answer gets its check sum
// appended, so that mutated answers reach the check behind it.
#include "devicesettings.h"
#include "modbusframe.h"
#include "rtuframing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int choice = (data[0] & 0x3F) % 10, block = choice % 5;   // 0: the settings block
    const bool withKeepCon = data[0] & 0x80;
    const int bytes = DeviceSettings::blockBytes(block, withKeepCon);
    const auto first = quint16(DeviceSettings::firstRegister(block));
    const QByteArray request = choice < 5 ? readRequest(first, quint16(bytes / 2)) : writeRequest(first, QByteArray(bytes, 'x'));
    QByteArray answer(reinterpret_cast<const char *>(data) + 1, int(size) - 1);
    if (!(data[0] & 0x40)) {
        answer.append(2, '\0');
        appendCrc16(answer.data(), answer.size());
    }
    if (!answerPassesCrc(answer.constData(), answer.size()))
        return 0;
    const AnswerCheck check = checkAnswer(request.constData(), request.size(), answer.constData(), answer.size());
    if (check.outcome != AnswerCheck::Accepted || choice >= 5)
        return 0;
    // As the worker does: the data area in memory order, then decoded.
    QByteArray area = answer.mid(3, bytes);
    if (area.size() != bytes)
        __builtin_trap();
    swapPairs(area.data(), area.size());
    DeviceSettings record;
    record.decodeBlock(block, area, withKeepCon);
    (void)record.asWritten(withKeepCon);
    return 0;
}
