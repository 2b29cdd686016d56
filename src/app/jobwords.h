#ifndef JOBWORDS_H
#define JOBWORDS_H

#include "deviceprocedures.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// The worker's messages as the window shows them: its own sentences, which
// stay as they are on standard output, in the log and in the journal,
// turned into words of the window's language that say what happened to the
// technician ("No answer from the modem" rather than a check-sum failure of
// 0 bytes). What the worker added to a sentence, the advice after it or the
// words before it, is in the window's language already and stays.
class JobWords {
    Q_DECLARE_TR_FUNCTIONS(JobWords)
public:
    // What the window knows beyond the text, when it knows it.
    struct Context {
        int job = 0;                                        // MyThread::Job; 0: not known
        std::optional<DeviceProcedures::Failure> failure{}; // why the job ended
        qint64 elapsedMs = -1;                              // since the job started
        int answers = 0;                                    // exchanges the job made
    };

    static QString shown(const QString &message, const Context &context);
    static QString shown(const QString &message) { return shown(message, Context()); }
};

#endif // JOBWORDS_H
