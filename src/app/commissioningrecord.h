#ifndef COMMISSIONINGRECORD_H
#define COMMISSIONINGRECORD_H

#include "fleetprovisioner.h"
#include "provisiontable.h"
#include "settingsvalues.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

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

    // What a station run leaves: the template it wrote, the table, each
    // modem's outcome in the order they ended, and which of the table's rows
    // are verified now. The user and computer are this session's; the run's
    // times and file names are the caller's to add.
    static Run of(const SettingsValues &templateValues, const ProvisionTable &table,
                  const QList<FleetProvisioner::ModemOutcome> &outcomes, const std::vector<bool> &rowVerified);

    static QString html(const Run &run);
    // An A4 PDF of html(), in place of `fileName` only once it is whole;
    // false with `error` saying why when it could not be written.
    static bool writePdf(const Run &run, const QString &fileName, QString *error);
};

#endif // COMMISSIONINGRECORD_H
