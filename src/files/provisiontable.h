#ifndef PROVISIONTABLE_H
#define PROVISIONTABLE_H

#include "csvtable.h"
#include "settingsfile.h"
#include "settingsvalues.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A fleet's table: a header of settings keys, with an optional `id`
// column, and one row per modem whose cells override a template's values;
// an empty cell keeps the template's.
struct ProvisionRow {
    int line = 0;
    QString id;
    SettingsPairs cells;     // the row's cells that are not empty
    SettingsValues values;   // the template's values with the cells over them

    // How messages and the report name the row: its id, else its line.
    QString name() const;
};
struct ProvisionTable {
    QStringList columns;   // the header, as given
    QList<ProvisionRow> rows;
    // Each bad row or column with its line, key and reason; the table may
    // be used only when there is none.
    QStringList problems;
};
// Reads `text` against the template's values and checks every row as a
// Write checks a settings file. A `matchKey`, when given, must be a column
// filled in on every row, with no value twice.
ProvisionTable readProvisionTable(const QByteArray &text, const SettingsValues &templateValues,
                                  const QString &matchKey = QString());

// The same for the table in `fileName`; one that cannot be read, or that
// is larger than a table may be, has that as its one problem. The problems
// do not name the file.
ProvisionTable readProvisionTableFile(const QString &fileName, const SettingsValues &templateValues,
                                      const QString &matchKey = QString());

#endif // PROVISIONTABLE_H
