#ifndef COMMISSIONINGRECORD_H
#define COMMISSIONINGRECORD_H

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The document handed to the customer at the end of a station run (or
// after it was stopped): when, by whom and on which computer, the template,
// one line per modem tried and what is left to do. Its texts are in the
// window's language; what the run supplies is shown as text, never as markup.
class CommissioningRecord {
    Q_DECLARE_TR_FUNCTIONS(CommissioningRecord)
public:
    // One per modem tried, in the order they ended.
    struct Modem {
        QString id;             // the row's id, or its line ("line 4"); empty when no row
        QString ownPhone;       // own_Ph as the row sets it; empty when unknown
        QString port;
        QDateTime at;
        QString result;         // worded in the window's language
        bool verified = false;
        QStringList settings;   // what the row set, "Caption: value"
        QString message;        // for a modem not verified: why
    };
    struct Run {
        QDateTime started, ended;
        QString user, computer;
        QString templateFile, tableFile;
        QList<QPair<QString, QString>> templateSettings;   // caption and value, in the file's order
        QList<Modem> modems;
        int rows = 0;           // in the table
        int verified = 0;       // rows verified at the end, earlier runs included
        QStringList notDone;    // the rows not verified
    };

    static QString html(const Run &run);
    // An A4 PDF of html(), in place of `fileName` only once it is whole;
    // false with `error` saying why when it could not be written.
    static bool writePdf(const Run &run, const QString &fileName, QString *error);
};

#endif // COMMISSIONINGRECORD_H
