#ifndef HISTORYPAGE_H
#define HISTORYPAGE_H

#include "writejournal.h"

#include <QDialog>

#include <memory>

namespace Ui {
class HistoryPage;
}

// The journal of Writes, newest first: time, connection, the modem's own
// phone number, outcome and the settings changed. For the chosen entry the
// window loads what the modem held before, or what was written.
class HistoryPage : public QDialog {
    Q_OBJECT

public:
    HistoryPage(QWidget *parent, QString journalFolder);
    ~HistoryPage() override;

    // Reads the journal anew; the entry chosen stays chosen.
    void refresh();
    // Opens the page on the entry kept in `folder`.
    void showEntry(const QString &folder);

signals:
    // A settings file of the chosen entry, to be loaded as a whole.
    void loadRequested(const QString &fileName);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void requestLoad(bool previous);
    void enableLoads();
    // The texts the form does not hold, in the present language.
    void retranslate();
    // The outcome in the window's language.
    static QString outcomeText(const JournalEntry &entry);

    std::unique_ptr<Ui::HistoryPage> ui;
    QString journalFolder;
    QList<JournalEntry> entries;
};

#endif // HISTORYPAGE_H
