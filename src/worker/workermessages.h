#ifndef WORKERMESSAGES_H
#define WORKERMESSAGES_H

#include <QString>
#include <QStringList>

// The worker's own sentences: the texts a job has always said, on standard
// output, in the log, in the trace and through `MyThread::response`, where
// callers key on them ("It is Readed"). Each is written here once, for the
// code that says it and for the window, which finds it in a message and
// says it in words of the technician's language instead.
namespace WorkerMessages {

enum class Kind {
    PortNotOpen,        // the connection text
    Started,            // the connection text
    UnknownJob,         // the job's code
    BadCheckSum,        // bytes received
    BadCheckSumAtStep,  // bytes received, the step (entry block) of a Write
    Received,           // bytes of the settings block's answer
    ReceivedEntry,      // the entry (0..3), bytes of its answer
    Read,               // bytes of the last answer: a Read is complete
    WriteProgress,      // percent
    Written,            // 100: a Write is complete
    Unasked,            // bytes nobody asked for
    UnaskedAtStep,
    Surplus,            // bytes, the answer's length
    SurplusAtStep,
    Exception,          // the exception code
    ExceptionAtStep,
    Mismatch,           // bytes
    MismatchAtStep,
};

// The printf format of `kind`.
const char *format(Kind kind);
// Whether the sentence ends naming the step (entry block) of a Write,
// its last argument.
bool namesStep(Kind kind);

template <typename... Arguments>
QString say(Kind kind, Arguments... arguments)
{
    return QString::asprintf(format(kind), arguments...);
}

// The first of the worker's sentences in `text`, where it stands and its
// arguments (as written; numbers as digits).
struct Found {
    Kind kind = Kind::PortNotOpen;
    int position = -1;   // none found
    int length = 0;
    QStringList arguments;

    bool exists() const { return position >= 0; }
};

Found find(const QString &text);

} // namespace WorkerMessages

#endif // WORKERMESSAGES_H
