#include "uploadlist.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestUploadList : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void notOpened_data();
    void notOpened();

private:
    QTemporaryDir m_dir;
    int m_fileCount = 0;
};

void TestUploadList::names_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("two files in order")
        << QByteArray("<upload>\n    <file name=\"main.py\"/>\n    <file name=\"lib/modem.py\"/>\n</upload>\n")
        << QStringList({"main.py", "lib/modem.py"});
    QTest::newRow("no file element")
        << QByteArray("<upload><script name=\"a.py\"/><files name=\"b.py\"/></upload>") << QStringList();
    QTest::newRow("File and FILE are not file")
        << QByteArray("<upload><File name=\"a.py\"/><FILE name=\"b.py\"/><file name=\"c.py\"/></upload>")
        << QStringList({"c.py"});
    QTest::newRow("without name")
        << QByteArray("<upload><file/><file path=\"a.py\"/><file Name=\"b.py\">c.py</file></upload>") << QStringList();
    QTest::newRow("empty name") << QByteArray("<upload><file name=\"\"/><file name=\"x.py\"/></upload>")
                                << QStringList({"", "x.py"});
    QTest::newRow("any depth, any root, duplicates kept")
        << QByteArray("<a><b><c><file name=\"deep.py\"><file name=\"deep.py\"/></file></c></b><file name=\"top.py\"/></a>")
        << QStringList({"deep.py", "deep.py", "top.py"});
    QTest::newRow("names unchanged")
        << QByteArray("<u><file name=\"  spaced name.py \"/><file name=\"a&amp;b&#9;c\"/><file name=\"C:\\py\\x.py\"/></u>")
        << QStringList({"  spaced name.py ", "a&b\tc", "C:\\py\\x.py"});
    QTest::newRow("names outside ASCII")
        << QByteArray("<u><file name=\"скрипт.py\"/><file name=\"\xe2\x82\xac.py\"/></u>")
        << QStringList({QString::fromUtf8("скрипт.py"), QString::fromUtf8("€.py")});
    QTest::newRow("declared Latin-1") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><u><file name=\"gr\xfc\xdf.py\"/></u>")
                                      << QStringList({QString::fromUtf8("grüß.py")});
    QTest::newRow("prefixed name attribute is not name")
        << QByteArray("<u xmlns:p=\"urn:p\"><file p:name=\"a.py\"/><p:file name=\"b.py\"/></u>") << QStringList({"b.py"});
    QTest::newRow("breaks off after two good elements")
        << QByteArray("<upload>\n<file name=\"one.py\"/>\n<file name=\"two.py\"/>\n<file name=\"thr")
        << QStringList({"one.py", "two.py"});
    QTest::newRow("nothing after the first error")
        << QByteArray("<u><file name=\"one.py\"/><file name=\"two.py\"/></wrong><file name=\"three.py\"/></u>")
        << QStringList({"one.py", "two.py"});
    QTest::newRow("nested entities stop the reader")
        << nestedEntities("u") + "<u><file name=\"safe.py\"/><file name=\"&a9;\"/><file name=\"after.py\"/></u>\n"
        << QStringList({"safe.py"});
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestUploadList::names()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, files);

    const QString path = m_dir.filePath(QString("uploader-%1.xml").arg(++m_fileCount));
    QVERIFY(writeBytes(path, document));
    const UploadList list = readUploadList(path);
    QVERIFY(list.opened);
    QCOMPARE(list.files, files);
}

void TestUploadList::notOpened_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "python/uploader.xml";
    QTest::newRow("folder") << ".";
    QTest::newRow("empty name") << "";
}

void TestUploadList::notOpened()
{
    QFETCH(QString, name);
    QVERIFY(m_dir.isValid());
    const UploadList list = readUploadList(name.isEmpty() ? name : m_dir.filePath(name));
    QVERIFY(!list.opened);
    QCOMPARE(list.files, QStringList());
}

QTEST_GUILESS_MAIN(TestUploadList)
#include "tst_uploadlist.moc"
