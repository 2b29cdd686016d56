#ifndef CONSOLE_H
#define CONSOLE_H

#include <QByteArray>
#include <QString>

#include <mutex>

class QIODevice;

inline constexpr char ProgramName[] = "gprs-configurator-cli";

// The tool's exit status: 0 success, 1 the port or the device failed, 2 a
// bad command line, a file that cannot be read or written, or an invalid
// value.
enum Status { Success = 0, DeviceFailed = 1, BadInput = 2 };

// The tool's three streams: data on `out`, messages and progress on `err`,
// a settings file named "-" from `in` (null: standard input). The ports of a
// provisioning run speak from their own threads, so every message goes
// through one lock.
class Console {
public:
    Console(QIODevice &out, QIODevice &err, QIODevice *in) : in(in), out(out), err(err) {}

    // Every message on standard error starts with the program's name, as
    // GNU tools have it; --quiet leaves only the failures.
    // What a modem or a file holds may carry a terminal's control
    // sequences: they are shown, never obeyed.
    void say(const QString &line);
    void inform(const QString &line);
    // A line that the next one overwrites, on a terminal only.
    void showProgress(const QString &line);
    bool errIsTerminal() const;
    // A line of the traffic, as it is: --trace asked for it.
    void trace(const QString &line);
    // "PROBLEM" and a line pointing at the help of `command` (the
    // program's when empty), and the status of a bad command line.
    int usageError(QString problem, const QString &command = {});

    // Data for standard output; a write that fails is told once the command ends.
    void put(const QByteArray &data);
    void print(const QString &line) { put(line.toUtf8() + '\n'); }
    // `status`, unless standard output failed: a closed pipe or a full disk
    // must not pass for a complete answer.
    int finished(int status);

    void setQuiet(bool on) { quiet = on; }
    bool isQuiet() const { return quiet; }
    QIODevice *standardInput() const { return in; }

private:
    std::mutex outputMutex;
    bool progressShown = false;
    bool quiet = false;
    QIODevice *in;
    QIODevice &out;
    QIODevice &err;
    QString outputFailure;
};

#endif // CONSOLE_H
