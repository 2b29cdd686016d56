#include "jobwords.h"

#include "devicesettings.h"
#include "modemjob.h"
#include "traffic.h"
#include "workermessages.h"

using WorkerMessages::Kind;

namespace {

int number(const QStringList &arguments, int index)
{
    return index < arguments.size() ? arguments.at(index).toInt() : 0;
}

} // namespace

QString JobWords::shown(const QString &message, const Context &context)
{
    const WorkerMessages::Found found = WorkerMessages::find(message);
    if (!found.exists())
        return message;
    const QStringList &arguments = found.arguments;
    const int first = number(arguments, 0);
    const int blocks = DeviceSettings::BlockCount;
    QString words;
    switch (found.kind) {
    case Kind::PortNotOpen:
        words = arguments.value(0).trimmed().isEmpty() ? tr("The default port did not open")
                                                       : tr("The port %1 did not open").arg(arguments.value(0));
        break;
    case Kind::Started:
        words = context.job == ModemJob::JobRead    ? tr("Reading the modem through %1…").arg(arguments.value(0))
              : context.job == ModemJob::JobWrite   ? tr("Writing to the modem through %1…").arg(arguments.value(0))
                                                    : tr("%1 is open").arg(arguments.value(0));
        break;
    case Kind::UnknownJob:
        words = tr("Unknown job %1").arg(first);
        break;
    case Kind::BadCheckSum:
    case Kind::BadCheckSumAtStep: {
        // Without the cause, the bytes say as much as they can.
        const DeviceProcedures::Failure failure = context.failure.value_or(
            first == 0 ? DeviceProcedures::Failure::NoAnswer : DeviceProcedures::Failure::BadCheckSum);
        if (first == 0 || failure == DeviceProcedures::Failure::NoAnswer)
            words = tr("No answer from the modem");
        else if (failure == DeviceProcedures::Failure::CutShort || failure == DeviceProcedures::Failure::PortLost)
            words = tr("The modem's answer broke off after %n byte(s)", nullptr, first);
        else
            words = tr("An answer of %n byte(s) came damaged: its check sum is wrong", nullptr, first);
        break;
    }
    case Kind::Received:
        words = tr("Reading: block %1 of %2 is in…").arg(1).arg(blocks);
        break;
    case Kind::ReceivedEntry:
        words = tr("Reading: block %1 of %2 is in…").arg(first + 2).arg(blocks);
        break;
    case Kind::Read:
        words = context.elapsedMs >= 0 && context.answers > 0
            ? tr("Read: all %1 settings, %n answer(s) in %2 s", nullptr, context.answers)
                  .arg(DeviceSettings::Count)
                  .arg(QString::number(context.elapsedMs / 1000.0, 'f', 2))
            : tr("Read: all %1 settings").arg(DeviceSettings::Count);
        break;
    case Kind::WriteProgress:
        words = tr("Writing: %1% done…").arg(first);
        break;
    case Kind::Written:
        words = context.elapsedMs >= 0
            ? tr("Written: the modem took every block, in %1 s").arg(QString::number(context.elapsedMs / 1000.0, 'f', 2))
            : tr("Written: the modem took every block");
        break;
    case Kind::Unasked:
    case Kind::UnaskedAtStep:
        words = tr("%n byte(s) came that no request asked for, so the request was not sent", nullptr, first);
        break;
    case Kind::Surplus:
    case Kind::SurplusAtStep:
        words = tr("%n byte(s) came where one answer of %1 was due", nullptr, first).arg(number(arguments, 1));
        break;
    case Kind::Exception:
    case Kind::ExceptionAtStep:
        words = tr("The modem refused the request: Modbus exception %1, %2").arg(first).arg(exceptionName(first));
        break;
    case Kind::Mismatch:
    case Kind::MismatchAtStep:
        words = tr("An answer of %n byte(s) came that does not fit the request", nullptr, first);
        break;
    }
    // A Write's steps are its entry blocks 1 to 4; the settings block is the first of five.
    if (WorkerMessages::namesStep(found.kind))
        words = tr("%1, while writing block %2 of %3").arg(words).arg(arguments.last().toInt() + 1).arg(blocks);
    return message.left(found.position) + words + message.mid(found.position + found.length);
}
