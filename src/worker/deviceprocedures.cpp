#include "deviceprocedures.h"

#include "connectiontext.h"
#include "doorrecognition.h"
#include "framing.h"
#include "modbusframe.h"
#include "seriallink.h"
#include "workermessages.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

namespace {

// The share of a Write done once `done` of its `total` blocks were
// acknowledged before the one just answered with `answerLength` bytes: an
// answer of the normal length (8 bytes on a serial line) completes its
// block's share, so a Write of all five blocks shows 20, 40, 60, 80 and 100.
int progressOf(int done, int total, int answerLength, int normalLength)
{
    return (done * 100 + answerLength * 100 / normalLength) / total;
}

// What the modem holds after a Write stopped at entry block `failedBlock`:
// the settings block and the entry blocks before it were acknowledged, or
// held those values already when the Write left them out.
QString partlyWritten(int failedBlock)
{
    if (failedBlock == 0)
        return QCoreApplication::translate("DeviceProcedures",
                "The modem accepted the new main settings, but still holds its old phone numbers and "
                "mirror servers: write again");
    if (failedBlock == 1)
        return QCoreApplication::translate("DeviceProcedures",
                "The modem accepted the new main settings and phone number 1 with its mirror server, but "
                "still holds the old rest: write again");
    return QCoreApplication::translate("DeviceProcedures",
            "The modem accepted the new main settings and phone numbers 1 to %1 with their mirror servers, "
            "but still holds the old rest: write again")
        .arg(failedBlock);
}

// "read settings block, 71 registers", "write entry block 2 (phone number 2), 13 registers".
QString blockWords(int block, bool write, int registers)
{
    if (block == 0)
        return (write ? QCoreApplication::translate("Traffic", "write settings block, %1 registers")
                      : QCoreApplication::translate("Traffic", "read settings block, %1 registers"))
            .arg(registers);
    return (write ? QCoreApplication::translate("Traffic", "write entry block %1 (phone number %1), %2 registers")
                  : QCoreApplication::translate("Traffic", "read entry block %1 (phone number %1), %2 registers"))
        .arg(block)
        .arg(registers);
}

} // namespace

QString DeviceProcedures::configureLink(SerialLink &link, const QString &connection)
{
    const QString problem = link.configure(connection.toLatin1());
    if (!problem.isEmpty())
        return problem;
    const QList<int> &rates = DeviceSettings::baudRates();
    // A server's serial side may have a rate of its own.
    if (!link.setsLineRate() || rates.contains(link.baudRate()))
        return QString();
    QStringList shown;
    for (int rate : rates)
        shown << QString::number(rate);
    return QCoreApplication::translate("DeviceProcedures",
            "The connection \"%1\" asks for %2 baud, which the modem does not have; it takes %3")
        .arg(QString::fromLatin1(connection.toLatin1()))
        .arg(link.baudRate())
        .arg(shown.join(QLatin1String(", ")));
}

DeviceProcedures::DeviceProcedures(SerialLink &link, bool withKeepCon, Advise advise, Report report,
                                   StopRequested stopRequested, Traffic traffic, Step step)
    : link(link)
    , withKeepCon(withKeepCon)
    , advise(std::move(advise))
    , report(std::move(report))
    , stopRequested(std::move(stopRequested))
    , traffic(std::move(traffic))
    , step(std::move(step))
    , framing(link.framing())
{
}

DeviceProcedures::Outcome DeviceProcedures::read(const Commit &commit, Blocks blocks)
{
    // Nothing reaches the worker's record before every block is in, so a
    // Read that fails half-way leaves it as it was.
    DeviceSettings record;
    QString failure;
    int answerLength = 0;
    for (int block = 0; block < DeviceSettings::BlockCount; ++block) {
        if (!blocks.test(size_t(block)))
            continue;
        const int dataLength = DeviceSettings::blockBytes(block, withKeepCon);
        const quint16 first = quint16(DeviceSettings::firstRegister(block));
        const quint16 count = quint16(dataLength / 2);
        if (step)
            step(false, block);
        answerLength = send(framing.readRegisters(first, count), blockWords(block, false, count));
        if (!accepted(answerLength, block, false, &failure))
            return failed(failure, block);

        const int dataOffset = framing.readDataOffset();
        QByteArray answer = answerData(answerLength, dataOffset + dataLength);
        if (block == 0)
            report(WorkerMessages::say(WorkerMessages::Kind::Received, answerLength));
        else
            report(WorkerMessages::say(WorkerMessages::Kind::ReceivedEntry, block - 1, answerLength));
        hexDump(answer.constData(), answerLength);
        swapPairs(answer.data() + dataOffset, dataLength);
        // The settings block is traced once more with its pairs in memory order.
        if (block == 0)
            hexDump(answer.constData(), answerLength);
        record.decodeBlock(block, answer.mid(dataOffset, dataLength), withKeepCon);
    }

    commit(record);
    return {WorkerMessages::say(WorkerMessages::Kind::Read, answerLength), true};
}

DeviceProcedures::Outcome DeviceProcedures::write(const DeviceSettings &record, Blocks blocks)
{
    const int total = int(blocks.count());
    int done = 0;
    QString failure;
    for (int block = 0; block < DeviceSettings::BlockCount; ++block) {
        if (!blocks.test(size_t(block)))
            continue;
        const QByteArray image = record.encodeBlock(block, withKeepCon);
        if (step)
            step(true, block);
        const int answerLength = send(framing.writeRegisters(quint16(DeviceSettings::firstRegister(block)), image),
                                      blockWords(block, true, (image.size() + 1) / 2));
        // The entry writes are the steps 1..4 of the messages.
        if (!accepted(answerLength, block, true, &failure)) {
            // An acknowledgement among other bytes may or may not be the modem's.
            if (!failure.isEmpty() && link.bytesAfterAnswer() > 0)
                failure += QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures",
                        "Whether the modem took this block is not known: read it, and write again");
            else if (!failure.isEmpty() && block > 0)
                failure += QLatin1String(". ") + partlyWritten(block - 1);
            return failed(failure, block);
        }
        report(WorkerMessages::say(WorkerMessages::Kind::WriteProgress, progressOf(done, total, answerLength, expectedLength)));
        ++done;
    }

    return {WorkerMessages::say(WorkerMessages::Kind::Written, 100), true};
}

DeviceProcedures::Outcome DeviceProcedures::failed(const QString &lastMessage, int block) const
{
    return {lastMessage, false, block, failure, exceptionCode};
}

// The front end's sentence for `advice`, after the message it completes.
QString DeviceProcedures::advised(Advice advice) const
{
    const QString words = advise ? advise(advice) : QString();
    return words.isEmpty() ? QString() : QLatin1String(". ") + words;
}

// Traces the request's frame and exchanges it; the link ends the exchange
// as soon as the answer is a whole frame. Returns the answer length, or -1
// when the job is asked to stop: then no exchange is started, and one cut
// short is not judged.
int DeviceProcedures::send(const Framing::Request &framed, const QString &what)
{
    if (stopRequested())
        return -1;
    request = framed.frame;
    expectedLength = framed.answerLength;
    hexDump(request.constData(), request.size());
    sinceSent.start();
    if (traffic)
        traffic({QDateTime::currentDateTime(), TrafficEntry::Sent, request, what, false});
    const int received = link.exchange(request.constData(), request.size(), expectedLength);
    if (stopRequested())
        return -1;
    return received;
}

// Whether the answer to the read or write of `block` passes the check sum
// and fits its request; if not, `failure` says why, or stays empty when the
// job was asked to stop. The entry writes are the steps 1..4 of the messages.
bool DeviceProcedures::accepted(int answerLength, int block, bool write, QString *failure)
{
    failure->clear();
    this->failure = Failure::Stopped;
    exceptionCode = 0;
    if (answerLength < 0)
        return false;

    const int step = write ? block : 0;
    // A read answer does not name its registers: with a second answer on
    // the line, any of them may be another block's.
    const auto crowded = [] {
        return QCoreApplication::translate("DeviceProcedures",
                "A second answer or a second master is on the line: check that nothing else polls the modem");
    };
    if (link.unaskedBytes() > 0) {
        this->failure = Failure::SecondAnswer;
        traceAnswer(answerLength, QCoreApplication::translate("Traffic",
                        "%1 bytes that no request asked for, after the last answer; this request was not sent")
                        .arg(answerLength), true);
        *failure = (step ? WorkerMessages::say(WorkerMessages::Kind::UnaskedAtStep, answerLength, step)
                         : WorkerMessages::say(WorkerMessages::Kind::Unasked, answerLength))
            + QLatin1String(". ") + crowded();
        return false;
    }
    if (link.bytesAfterAnswer() > 0) {
        this->failure = Failure::SecondAnswer;
        traceAnswer(answerLength, QCoreApplication::translate("Traffic", "%1 bytes where one answer of %2 was due")
                                      .arg(answerLength).arg(expectedLength), true);
        *failure = (step ? WorkerMessages::say(WorkerMessages::Kind::SurplusAtStep, answerLength, expectedLength, step)
                         : WorkerMessages::say(WorkerMessages::Kind::Surplus, answerLength, expectedLength))
            + QLatin1String(". ") + crowded();
        return false;
    }
    // A server that spoke first in another framing (a telnet server's
    // options) would mangle a frame sooner or later, whatever this answer is.
    if (const QString otherFraming = otherFramingWords(0); !otherFraming.isEmpty()) {
        this->failure = Failure::Mismatch;
        *failure = otherFraming.mid(2);
        traceAnswer(answerLength, *failure, true);
        return false;
    }
    const AnswerCheck check = framing.check(request.constData(), request.size(), link.answer(), answerLength);
    if (check.outcome == AnswerCheck::Damaged) {
        if (answerLength == 0)
            traceAnswer(0, QCoreApplication::translate("Traffic", "no answer within %1 ms").arg(link.lastWaitLimit()),
                        true);
        else if (answerLength < expectedLength)
            traceAnswer(answerLength, cutShortWords(answerLength), true);
        else
            traceAnswer(answerLength, QCoreApplication::translate("Traffic", "check sum wrong"), true);
        *failure = step ? WorkerMessages::say(WorkerMessages::Kind::BadCheckSumAtStep, answerLength, step)
                        : WorkerMessages::say(WorkerMessages::Kind::BadCheckSum, answerLength);
        this->failure = answerLength == 0              ? Failure::NoAnswer
                       : answerLength < expectedLength ? Failure::CutShort
                                                       : Failure::BadCheckSum;
        // Silence is the commonest failure in the field, and the check sum
        // alone tells the technician nothing about it; nor about a port
        // that went away in the middle of the job.
        const QString otherFraming = otherFramingWords(answerLength);
        if (link.portLost()) {
            this->failure = Failure::PortLost;
            *failure += QLatin1String(". ") + link.lossExplanation();
        } else if (!otherFraming.isEmpty()) {
            *failure += otherFraming;
        } else if (answerLength == 0) {
            // Over a network the line and its rate are the server's serial side.
            *failure += advised(link.overNetwork() ? Advice::CheckServer : Advice::CheckLine);
        }
        return false;
    }
    switch (check.outcome) {
    case AnswerCheck::Accepted:
        this->failure = Failure::None;
        traceAnswer(answerLength,
                    QCoreApplication::translate("Traffic", "answer accepted in %1 ms").arg(sinceSent.elapsed()), false);
        return true;
    case AnswerCheck::Exception:
        traceAnswer(answerLength, QCoreApplication::translate("Traffic", "exception %1: %2")
                                      .arg(check.exceptionCode)
                                      .arg(exceptionName(check.exceptionCode)),
                    true);
        this->failure = Failure::Exception;
        exceptionCode = check.exceptionCode;
        *failure = step ? WorkerMessages::say(WorkerMessages::Kind::ExceptionAtStep, check.exceptionCode, step)
                        : WorkerMessages::say(WorkerMessages::Kind::Exception, check.exceptionCode);
        // Firmware without register 70 refuses the 71-register settings block.
        if (block == 0 && withKeepCon && check.exceptionCode == Modbus::IllegalDataAddress)
            *failure += advised(Advice::KeepConRegisterMissing);
        else if (check.exceptionCode == Modbus::GatewayPathUnavailable)
            *failure += QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures",
                    "The gateway has no path to the modem: check its routing for unit %1").arg(Modbus::DeviceAddress);
        else if (check.exceptionCode == Modbus::GatewayTargetFailed)
            *failure += QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures",
                    "The modem behind the gateway did not answer: check the gateway's serial side (its baud rate "
                    "and the line to the modem), and that the modem is powered");
        break;
    case AnswerCheck::Damaged:   // worded above
        break;
    case AnswerCheck::Mismatch:
        this->failure = Failure::Mismatch;
        traceAnswer(answerLength, QCoreApplication::translate("Traffic", "answer does not match the request"), true);
        *failure = step ? WorkerMessages::say(WorkerMessages::Kind::MismatchAtStep, answerLength, step)
                        : WorkerMessages::say(WorkerMessages::Kind::Mismatch, answerLength);
        *failure += otherFramingWords(answerLength);
        break;
    }
    return false;
}

// When a server's bytes are frames of another framing than the
// connection's: which one it speaks, and the connection that speaks it.
QString DeviceProcedures::otherFramingWords(int answerLength) const
{
    const std::optional<NetworkAddress> &server = link.serverAddress();
    if (!server)
        return QString();
    const QByteArray heard = link.droppedBytes() + QByteArray(link.answer(), std::max(answerLength, 0));
    const std::optional<Door> door = doorSpeaking(heard);
    if (!door || sameFraming(*door, server->door))
        return QString();
    NetworkAddress speaking = *server;
    speaking.door = *door;
    const QString connection = *door == Door::Rfc2217 ? ConnectionText::of(speaking.device(), link.baudRate())
                                                      : ConnectionText::ofServer(speaking);
    return QLatin1String(". ") + QCoreApplication::translate("DeviceProcedures", "%1 speaks %2: connect with %3")
                                     .arg(server->shown(), doorName(*door), connection);
}

// An answer that stopped short of its frame, and why it stopped.
QString DeviceProcedures::cutShortWords(int answerLength) const
{
    const QString words = link.portLost()
        ? QCoreApplication::translate("Traffic", "%1 of %2 bytes, then the line was lost")
        : QCoreApplication::translate("Traffic", "%1 of %2 bytes, then silence");
    return words.arg(answerLength).arg(expectedLength);
}

void DeviceProcedures::traceAnswer(int answerLength, const QString &words, bool failure)
{
    if (!traffic)
        return;
    QString said = words;
    if (link.echoRemoved())
        said += QCoreApplication::translate("Traffic", "; echo of the request removed");
    traffic({QDateTime::currentDateTime(), TrafficEntry::Received, QByteArray(link.answer(), answerLength), said,
             failure});
}

// A copy of the accepted answer. The framing's check has made sure it holds
// the whole block; the zero padding only guards the copy should that ever
// change.
QByteArray DeviceProcedures::answerData(int answerLength, int needed) const
{
    QByteArray answer(link.answer(), answerLength);
    if (answer.size() < needed)
        answer.append(QByteArray(needed - answer.size(), '\0'));
    return answer;
}
