// The commissioning record as the customer gets it: the PDF written to a
// real file and read back by poppler's pdftotext and pdfinfo.

#include "commissioningrecord.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Three rows, two verified; the template's settings in the file's order.
CommissioningRecord::Run sampleRun()
{
    CommissioningRecord::Run run;
    run.started = QDateTime(QDate(2026, 3, 14), QTime(9, 5, 0));
    run.ended = run.started.addSecs(95);
    run.user = QStringLiteral("tech");
    run.computer = QStringLiteral("bench-2");
    run.templateFile = QStringLiteral("/srv/site/fleet-template.xml");
    run.tableFile = QStringLiteral("/srv/site/fleet.csv");
    run.templateSettings = {{QStringLiteral("Apn server"), QStringLiteral("интернет")},
                            {QStringLiteral("Baud Tx"), QStringLiteral("9600")},
                            {QStringLiteral("Modbus address"), QStringLiteral("1")}};
    const auto modem = [&run](const QString &id, const QString &phone, const QString &port, int second,
                              bool verified, const QString &message) {
        run.modems << CommissioningRecord::Modem{id, phone, port, run.started.addSecs(second),
                                                 verified ? QStringLiteral("verified") : QStringLiteral("failed"),
                                                 verified, {QStringLiteral("Own phone number: ") + phone}, message};
    };
    modem(QStringLiteral("pump-1"), QStringLiteral("+70001112201"), QStringLiteral("ttyUSB0"), 31, true, {});
    modem(QStringLiteral("<b>x</b>"), QStringLiteral("+70001112202"), QStringLiteral("ttyUSB1"), 47, true, {});
    modem(QStringLiteral("line 4"), QString(), QStringLiteral("ttyUSB2"), 90, false,
          QStringLiteral("no answer from the modem"));
    run.rows = 3;
    run.verified = 2;
    run.notDone = QStringList{QStringLiteral("line 4")};
    return run;
}

} // namespace

class TestRecord : public QObject {
    Q_OBJECT

private slots:
    void pdfText_data();
    void pdfText();
};

void TestRecord::pdfText_data()
{
    QTest::addColumn<QString>("target");         // under the temporary folder
    QTest::addColumn<int>("extraModems");        // verified ones after the sample's three, ten minutes apart
    QTest::addColumn<bool>("allDone");           // every row verified in the end
    QTest::addColumn<QString>("tool");           // pdftotext for the text, pdfinfo for what it says of itself
    QTest::addColumn<QStringList>("expected");   // in this order in what the tool prints; for a failure, in the error
    const QString name = QStringLiteral("record.pdf");
    const QString text = QStringLiteral("pdftotext");
    QTest::newRow("the run, its template's settings in the file's order")
        << name << 0 << false << text
        << QStringList{"Commissioning record", "Started", "2026-03-14 09:05:00", "Ended", "2026-03-14 09:06:35",
                       "User", "tech",         "Computer", "bench-2", "Template", "fleet-template.xml", "Table",
                       "fleet.csv", "Apn server", "Baud Tx", "9600", "Modbus address"};
    QTest::newRow("one line per modem in the order they ended, with the settings its row set")
        << name << 0 << false << text
        << QStringList{"pump-1",   "+70001112201", "ttyUSB0", "09:05:31", "verified", "Own phone number: +70001112201",
                       "ttyUSB1",  "09:05:47",     "verified", "line 4",  "ttyUSB2",  "09:06:30",
                       "failed",   "no answer from the modem"};
    QTest::newRow("totals and the rows not done")
        << name << 0 << false << text << QStringList{"2 of 3 rows verified", "Rows not done", "line 4"};
    QTest::newRow("markup in a row's id shows as text")
        << name << 0 << false << text << QStringList{"<b>x</b>", "+70001112202"};
    QTest::newRow("Cyrillic in a setting survives")
        << name << 0 << false << text << QStringList{"Apn server", "интернет"};
    QTest::newRow("every row done") << name << 0 << true << text
                                    << QStringList{"3 of 3 rows verified", "Every row of the table is verified."};
    QTest::newRow("a long run goes on over the next pages, past midnight with the date")
        << name << 120 << false << text
        << QStringList{"pump-1", "\f", "extra-60", "19:05:00", "\f", "extra-119", "2026-03-15", "04:55:00",
                       "122 of 123 rows verified"};
    QTest::newRow("an A4 document with its title") << name << 0 << false << QStringLiteral("pdfinfo")
                                                   << QStringList{"Commissioning record", "A4"};
    QTest::newRow("a missing folder: an error, no file")
        << QStringLiteral("missing/record.pdf") << 0 << false << text << QStringList{"does not exist"};
}

void TestRecord::pdfText()
{
    QFETCH(QString, target);
    QFETCH(int, extraModems);
    QFETCH(bool, allDone);
    QFETCH(QString, tool);
    QFETCH(QStringList, expected);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    folder.setAutoRemove(false);
    const QString fileName = folder.filePath(target);

    CommissioningRecord::Run run = sampleRun();
    for (int i = 0; i < extraModems; ++i)
        run.modems << CommissioningRecord::Modem{QStringLiteral("extra-%1").arg(i), {}, QStringLiteral("ttyUSB0"),
                                                 run.started.addSecs(600 * i), QStringLiteral("verified"),
                                                 true, {}, {}};
    run.rows += extraModems;
    run.verified += extraModems;
    if (allDone) {
        run.verified = run.rows;
        run.notDone.clear();
    }

    QString error;
    const bool written = CommissioningRecord::writePdf(run, fileName, &error);
    QString text;
    if (written) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QProcess reader;
        reader.start(tool, tool == QLatin1String("pdfinfo") ? QStringList{fileName}
                                                           : QStringList{QStringLiteral("-layout"), fileName,
                                                                         QStringLiteral("-")});
        QVERIFY2(reader.waitForFinished(60000), qPrintable(reader.errorString()));
        QCOMPARE(reader.exitCode(), 0);
        text = QString::fromUtf8(reader.readAllStandardOutput());
    } else {
        QVERIFY(!QFile::exists(fileName));
        QVERIFY(QDir(folder.path()).isEmpty());
        text = error;
    }
    int from = 0;
    for (const QString &part : expected) {
        const int at = text.indexOf(part, from);
        QVERIFY2(at >= 0,
                 qPrintable(QStringLiteral("\"%1\" not after %2 in:\n%3").arg(part, QString::number(from), text)));
        from = at + part.size();
    }
    folder.setAutoRemove(!QTest::currentTestFailed());
}

QTEST_MAIN(TestRecord)
#include "tst_record.moc"
