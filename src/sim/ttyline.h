#ifndef TTYLINE_H
#define TTYLINE_H

#include "servedline.h"

// The modem's serial line: the master side of a pseudo-terminal, whose
// slave a client opens like any serial port, or a given tty.
class TtyLine : public ServedLine {
public:
    ~TtyLine() override;

    // A new pseudo-terminal, raw at `baudRate`; false with `error` set when
    // it cannot be set up.
    bool openPseudoTerminal(int baudRate, QString *error);
    // The tty `device`, raw at `baudRate`, which it must take.
    bool openPort(const QString &device, int baudRate, QString *error);
    // What a client opens: the pseudo-terminal's slave, or the tty.
    QString name() const { return m_name; }
    void close() override;

    bool outlivesPeer() const override { return false; }
    // The speed the line is set to, when it can be read (a client sets it
    // on its end of a pseudo-terminal), else `ownRate`.
    int rate(int ownRate) const override;
    bool hearsPeer(int ownRate) const override;
    bool awaitPeerRead(Clock::time_point latest, const WaitUntil &waitUntil) const override;

private:
    QString m_name;
    int keptSlaveFd = -1;   // our own hold on the pty slave, so the master never sees a hang-up
};

#endif // TTYLINE_H
