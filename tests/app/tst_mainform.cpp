// The window's form and texts as the operator meets them: widget tree,
// layout, fixed size, keyboard, tool tips with and without the Russian
// translation, and the Load dialog.

#include "filedialogs.h"
#include "mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTranslator>
#include <QVBoxLayout>

#include <memory>

namespace {

// One member of the form: where it hangs and where it stands.
// For a widget, `parent` is its parent widget and `layout`/`place`/`role` its
// cell. For a layout, `parent` is the widget it is the layout of, or empty for
// a nested layout, which then stands at `place` in `layout`.
struct Member {
    const char *name;
    const char *className;
    const char *parent;
    const char *layout;
    int place;
    int role;
};

constexpr int NoRole = -1;
constexpr int Label = QFormLayout::LabelRole;
constexpr int Field = QFormLayout::FieldRole;

const Member formMembers[] = {
    {"centralWidget", "QWidget", "MainWindow", "", -1, NoRole},
    {"verticalLayoutWidget", "QWidget", "centralWidget", "", -1, NoRole},
    {"verticalLayout", "QVBoxLayout", "verticalLayoutWidget", "", -1, NoRole},
    {"formLayout_3", "QFormLayout", "", "verticalLayout", 0, NoRole},
    {"comPortLabel", "QLabel", "verticalLayoutWidget", "formLayout_3", 0, Label},
    {"comPortLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 0, Field},
    {"apnServerLabel", "QLabel", "verticalLayoutWidget", "formLayout_3", 1, Label},
    {"apnServerLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 1, Field},
    {"apnLoginLabel", "QLabel", "verticalLayoutWidget", "formLayout_3", 2, Label},
    {"apnLoginLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 2, Field},
    {"apnPasswordLabel", "QLabel", "verticalLayoutWidget", "formLayout_3", 3, Label},
    {"apnPasswordLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 3, Field},
    {"comPortLabel_2", "QLabel", "verticalLayoutWidget", "formLayout_3", 4, Label},
    {"TxSettingLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 4, Field},
    {"comPortLabel_4", "QLabel", "verticalLayoutWidget", "formLayout_3", 5, Label},
    {"RxSettingLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 5, Field},
    {"ToutAnswLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 6, Field},
    {"comPortLabel_6", "QLabel", "verticalLayoutWidget", "formLayout_3", 7, Label},
    {"ToutNextLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 7, Field},
    {"comPortLabel_7", "QLabel", "verticalLayoutWidget", "formLayout_3", 8, Label},
    {"TryNumLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 8, Field},
    {"comPortLabel_8", "QLabel", "verticalLayoutWidget", "formLayout_3", 9, Label},
    {"ToutBetwenLineEdit", "QLineEdit", "verticalLayoutWidget", "formLayout_3", 9, Field},
    {"comPortLabel_5", "QLabel", "verticalLayoutWidget", "formLayout_3", 6, Label},
    {"widget", "QWidget", "centralWidget", "", -1, NoRole},
    {"horizontalLayout_2", "QHBoxLayout", "widget", "", -1, NoRole},
    {"pushButtonLoad", "QPushButton", "widget", "horizontalLayout_2", 0, NoRole},
    {"pushButtonRead", "QPushButton", "widget", "horizontalLayout_2", 1, NoRole},
    {"pushButtonWrite", "QPushButton", "widget", "horizontalLayout_2", 2, NoRole},
    {"pushButtonSave", "QPushButton", "widget", "horizontalLayout_2", 3, NoRole},
    {"widget1", "QWidget", "centralWidget", "", -1, NoRole},
    {"horizontalLayout_4", "QHBoxLayout", "widget1", "", -1, NoRole},
    {"KeepConncheckBox", "QCheckBox", "widget1", "horizontalLayout_4", 0, NoRole},
    {"EnableKeepConncheckBox", "QCheckBox", "widget1", "horizontalLayout_4", 1, NoRole},
    {"widget2", "QWidget", "centralWidget", "", -1, NoRole},
    {"horizontalLayout", "QHBoxLayout", "widget2", "", -1, NoRole},
    {"verticalLayout_3", "QVBoxLayout", "", "horizontalLayout", 0, NoRole},
    {"apnPasswordLabel_4", "QLabel", "widget2", "verticalLayout_3", 0, NoRole},
    {"PhNum1LineEdit", "QLineEdit", "widget2", "verticalLayout_3", 1, NoRole},
    {"PhNum2LineEdit", "QLineEdit", "widget2", "verticalLayout_3", 2, NoRole},
    {"PhNum3LineEdit", "QLineEdit", "widget2", "verticalLayout_3", 3, NoRole},
    {"PhNum4LineEdit", "QLineEdit", "widget2", "verticalLayout_3", 4, NoRole},
    {"verticalLayout_4", "QVBoxLayout", "", "horizontalLayout", 1, NoRole},
    {"apnPasswordLabel_2", "QLabel", "widget2", "verticalLayout_4", 0, NoRole},
    {"MirrServ1LineEdit", "QLineEdit", "widget2", "verticalLayout_4", 1, NoRole},
    {"MirrServ2LineEdit", "QLineEdit", "widget2", "verticalLayout_4", 2, NoRole},
    {"MirrServ3LineEdit", "QLineEdit", "widget2", "verticalLayout_4", 3, NoRole},
    {"MirrServ4LineEdit", "QLineEdit", "widget2", "verticalLayout_4", 4, NoRole},
    {"verticalLayout_2", "QVBoxLayout", "", "horizontalLayout", 2, NoRole},
    {"apnPasswordLabel_3", "QLabel", "widget2", "verticalLayout_2", 0, NoRole},
    {"MirrPort1LineEdit", "QLineEdit", "widget2", "verticalLayout_2", 1, NoRole},
    {"MirrPort2LineEdit", "QLineEdit", "widget2", "verticalLayout_2", 2, NoRole},
    {"MirrPort3LineEdit", "QLineEdit", "widget2", "verticalLayout_2", 3, NoRole},
    {"MirrPort4LineEdit", "QLineEdit", "widget2", "verticalLayout_2", 4, NoRole},
    {"statusBar", "QStatusBar", "MainWindow", "", -1, NoRole},
};

// Every text the form sets, in the order it sets them.
struct FormText {
    const char *object;
    const char *property;
    const char *source;
};

const FormText formTexts[] = {
    {"MainWindow", "windowTitle", "GPRS configurator"},
    {"comPortLabel", "text", "Connection"},
    {"comPortLineEdit", "toolTip", "HConnection"},
    {"apnServerLabel", "text", "Apn server"},
    {"apnServerLineEdit", "toolTip", "HApn server"},
    {"apnLoginLabel", "text", "Apn login"},
    {"apnLoginLineEdit", "toolTip", "HApn login"},
    {"apnPasswordLabel", "text", "Apn password"},
    {"apnPasswordLineEdit", "toolTip", "HApn password"},
    {"comPortLabel_2", "text", "Baud Tx"},
    {"TxSettingLineEdit", "toolTip", "HBaud Tx"},
    {"comPortLabel_4", "text", "Baud Rx"},
    {"RxSettingLineEdit", "toolTip", "HBaud Rx"},
    {"ToutAnswLineEdit", "toolTip", "HTimeout answer"},
    {"comPortLabel_6", "text", "Timeout next"},
    {"ToutNextLineEdit", "toolTip", "HTimeout next"},
    {"comPortLabel_7", "text", "Trying number"},
    {"TryNumLineEdit", "toolTip", "HTrying number"},
    {"comPortLabel_8", "text", "Timeout between"},
    {"ToutBetwenLineEdit", "toolTip", "HTimeout between"},
    {"comPortLabel_5", "text", "Timeout answer"},
    {"pushButtonLoad", "toolTip", "HLoad"},
    {"pushButtonLoad", "text", "&Load"},
    {"pushButtonRead", "toolTip", "HRead"},
    {"pushButtonRead", "text", "&Read"},
    {"pushButtonWrite", "toolTip", "HWrite"},
    {"pushButtonWrite", "text", "&Write"},
    {"pushButtonSave", "toolTip", "HSave "},
    {"pushButtonSave", "text", "&Save"},
    {"KeepConncheckBox", "toolTip", "HKeep Connection"},
    {"KeepConncheckBox", "text", "Keep Connection"},
    {"EnableKeepConncheckBox", "toolTip", "HEnable Keep Connection"},
    {"EnableKeepConncheckBox", "text", "Enable Keep Connection"},
    {"apnPasswordLabel_4", "text", "Phone number"},
    {"PhNum1LineEdit", "toolTip", "HPhone number 1"},
    {"PhNum2LineEdit", "toolTip", "HPhone number 2"},
    {"PhNum3LineEdit", "toolTip", "HPhone number 3"},
    {"PhNum4LineEdit", "toolTip", "HPhone number 4"},
    {"apnPasswordLabel_2", "text", "Mirror server"},
    {"MirrServ1LineEdit", "toolTip", "HMirror server 1"},
    {"MirrServ2LineEdit", "toolTip", "HMirror server 2"},
    {"MirrServ3LineEdit", "toolTip", "HMirror server 3"},
    {"MirrServ4LineEdit", "toolTip", "HMirror server 4"},
    {"apnPasswordLabel_3", "text", "Mirror port"},
    {"MirrPort1LineEdit", "toolTip", "HMirror port 1"},
    {"MirrPort2LineEdit", "toolTip", "HMirror port 2"},
    {"MirrPort3LineEdit", "toolTip", "HMirror port 3"},
    {"MirrPort4LineEdit", "toolTip", "HMirror port 4"},
};

// The what's-this texts the form sets, all empty.
const char *const emptyWhatsThis[] = {"comPortLineEdit", "apnLoginLineEdit", "TxSettingLineEdit", "RxSettingLineEdit",
    "ToutAnswLineEdit", "ToutNextLineEdit", "TryNumLineEdit", "ToutBetwenLineEdit"};

// Keyboard focus order: the form, the buttons, the boxes, the three columns.
const char *const focusOrder[] = {
    "comPortLineEdit", "apnServerLineEdit", "apnLoginLineEdit", "apnPasswordLineEdit",
    "TxSettingLineEdit", "RxSettingLineEdit", "ToutAnswLineEdit", "ToutNextLineEdit",
    "TryNumLineEdit", "ToutBetwenLineEdit",
    "pushButtonLoad", "pushButtonRead", "pushButtonWrite", "pushButtonSave",
    "KeepConncheckBox", "EnableKeepConncheckBox",
    "PhNum1LineEdit", "PhNum2LineEdit", "PhNum3LineEdit", "PhNum4LineEdit",
    "MirrServ1LineEdit", "MirrServ2LineEdit", "MirrServ3LineEdit", "MirrServ4LineEdit",
    "MirrPort1LineEdit", "MirrPort2LineEdit", "MirrPort3LineEdit", "MirrPort4LineEdit",
};

const char noConfigMessage[] = "There is not the configaration file";


// Installs a translator for as long as it lives, so a failing check cannot
// leave the Russian texts behind for the next test.
struct InstalledTranslator {
    explicit InstalledTranslator(QTranslator *t) : translator(t) { if (t) QCoreApplication::installTranslator(t); }
    ~InstalledTranslator() { if (translator) QCoreApplication::removeTranslator(translator); }
    QTranslator *translator;
};

} // namespace

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void members_data();
    void members();
    void noOtherNamedObjects();
    void containerGeometry_data();
    void containerGeometry();
    void layoutSettings_data();
    void layoutSettings();
    void window();
    void lineEditsPlain();
    void focusChain();
    void metaObjectInterface();

    void texts_data();
    void texts();
    void startupMessage_data();
    void startupMessage();

    void icon_data();
    void icon();

    void altKeysClickButtons_data();
    void altKeysClickButtons();

    void loadAsksForTheFile();

private:
    static QObject *member(MainWindow *window, const QString &name);
    bool showActive(MainWindow *window);

    QTemporaryDir workDir;
    QTranslator russian;
    QStringList dialogCalls;
};

void TestMainForm::initTestCase()
{
    QVERIFY(workDir.isValid());
    // No simconf.xml and no icon here, so each window starts as the form builds it.
    QVERIFY(QDir::setCurrent(workDir.path()));
    QVERIFY2(!QFile::exists(QCoreApplication::applicationDirPath() + "/languages/translate_ru.qm"),
             "this test needs a folder without a translation beside it");
    QVERIFY(russian.load(QStringLiteral(GPRS_TEST_BUILD_DIR "/languages/translate_ru.qm")));

    setFileDialogAnswerForTesting([this](const QString &caption, const QString &filter) {
        dialogCalls << caption + "|" + filter;
        return QString();
    });
}

void TestMainForm::cleanup()
{
    dialogCalls.clear();
    QVERIFY(QDir::setCurrent(workDir.path()));
}

QObject *TestMainForm::member(MainWindow *window, const QString &name)
{
    if (name == QLatin1String("MainWindow"))
        return window;
    const QList<QObject *> found = window->findChildren<QObject *>(name);
    return found.size() == 1 ? found.first() : nullptr;
}

bool TestMainForm::showActive(MainWindow *window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window, 10000);
}

void TestMainForm::members_data()
{
    QTest::addColumn<int>("index");
    for (const Member &m : formMembers)
        QTest::newRow(m.name) << int(&m - formMembers);
}

void TestMainForm::members()
{
    QFETCH(int, index);
    const Member &m = formMembers[index];
    const QString name = m.name, className = m.className, parent = m.parent, layout = m.layout;
    const int place = m.place;

    auto window = std::make_unique<MainWindow>();
    QObject *object = member(window.get(), name);
    QVERIFY2(object, "missing or not unique");
    QCOMPARE(QString(object->metaObject()->className()), className);

    if (auto *widget = qobject_cast<QWidget *>(object)) {
        QVERIFY(widget->parentWidget());
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        if (name == QLatin1String("centralWidget")) {
            QCOMPARE(window->centralWidget(), widget);
            QCOMPARE(widget->layout(), nullptr);
        } else if (name == QLatin1String("statusBar")) {
            QCOMPARE(window->statusBar(), widget);
        } else if (layout.isEmpty()) {
            // The containers are placed by geometry alone.
            QCOMPARE(widget->parentWidget()->layout(), nullptr);
        } else {
            auto *owner = qobject_cast<QLayout *>(member(window.get(), layout));
            QVERIFY(owner);
            if (auto *form = qobject_cast<QFormLayout *>(owner)) {
                int row = -1;
                QFormLayout::ItemRole itemRole = QFormLayout::SpanningRole;
                form->getWidgetPosition(widget, &row, &itemRole);
                QCOMPARE(row, place);
                QCOMPARE(int(itemRole), m.role);
            } else {
                QCOMPARE(owner->indexOf(widget), place);
                auto *box = qobject_cast<QBoxLayout *>(owner);
                QVERIFY(box);
                QCOMPARE(box->stretch(place), 0);
                QCOMPARE(box->itemAt(place)->alignment(), Qt::Alignment());
            }
        }
    } else {
        auto *lay = qobject_cast<QLayout *>(object);
        QVERIFY(lay);
        if (!parent.isEmpty()) {
            QVERIFY(lay->parentWidget());
            QCOMPARE(lay->parentWidget()->objectName(), parent);
            QCOMPARE(lay->parentWidget()->layout(), lay);
        } else {
            auto *outer = qobject_cast<QBoxLayout *>(lay->parent());
            QVERIFY2(outer, "a nested layout belongs to the layout it is nested in");
            QCOMPARE(outer->objectName(), layout);
            QVERIFY(outer->itemAt(place));
            QCOMPARE(outer->itemAt(place)->layout(), lay);
            QCOMPARE(outer->stretch(place), 0);
        }
    }
}

void TestMainForm::noOtherNamedObjects()
{
    auto window = std::make_unique<MainWindow>();
    QStringList expected;
    for (const Member &m : formMembers)
        expected << m.name;
    QStringList actual;
    for (QObject *object : window->findChildren<QObject *>()) {
        const QString name = object->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && name != QLatin1String("_layout"))
            actual << name;
    }
    expected.sort();
    actual.sort();
    QCOMPARE(actual, expected);
    QCOMPARE(window->menuWidget(), nullptr);
    QVERIFY(window->findChildren<QToolBar *>().isEmpty());
    QVERIFY(window->findChildren<QDockWidget *>().isEmpty());
}

void TestMainForm::containerGeometry_data()
{
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("verticalLayoutWidget") << QRect(20, 30, 461, 277);
    QTest::newRow("widget1") << QRect(20, 310, 461, 41);
    QTest::newRow("widget2") << QRect(20, 350, 461, 131);
    QTest::newRow("widget") << QRect(20, 490, 461, 51);
}

void TestMainForm::containerGeometry()
{
    QFETCH(QRect, geometry);
    auto window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *container = qobject_cast<QWidget *>(member(window.get(), QTest::currentDataTag()));
    QVERIFY(container);
    QCOMPARE(container->geometry(), geometry);
}

void TestMainForm::layoutSettings_data()
{
    QTest::addColumn<bool>("zeroMargins");
    for (const char *name : {"verticalLayout", "horizontalLayout_2", "horizontalLayout_4", "horizontalLayout"})
        QTest::newRow(name) << true;
    for (const char *name : {"formLayout_3", "verticalLayout_3", "verticalLayout_4", "verticalLayout_2"})
        QTest::newRow(name) << false;
}

void TestMainForm::layoutSettings()
{
    QFETCH(bool, zeroMargins);
    auto window = std::make_unique<MainWindow>();
    auto *lay = qobject_cast<QLayout *>(member(window.get(), QTest::currentDataTag()));
    QVERIFY(lay);
    QCOMPARE(lay->spacing(), 6);
    // The nested ones keep what the toolkit gives a layout inside another.
    QWidget probe;
    auto *nested = new QVBoxLayout;
    (new QVBoxLayout(&probe))->addLayout(nested);
    QCOMPARE(lay->contentsMargins(), zeroMargins ? QMargins() : nested->contentsMargins());
    if (auto *form = qobject_cast<QFormLayout *>(lay)) {
        QCOMPARE(form->horizontalSpacing(), 6);
        QCOMPARE(form->verticalSpacing(), 6);
        QCOMPARE(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);
        QCOMPARE(form->rowCount(), 10);
    }
}

void TestMainForm::window()
{
    auto window = std::make_unique<MainWindow>();
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->minimumSize(), QSize(493, 573));
    QCOMPARE(window->maximumSize(), QSize(493, 573));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->size(), QSize(493, 573));
    // A fixed size: asking for another one changes nothing.
    window->resize(800, 700);
    QCOMPARE(window->size(), QSize(493, 573));
}

void TestMainForm::lineEditsPlain()
{
    auto window = std::make_unique<MainWindow>();
    const QList<QLineEdit *> edits = window->findChildren<QLineEdit *>();
    QCOMPARE(edits.size(), 22);
    for (QLineEdit *edit : edits) {
        QVERIFY2(!edit->validator() && edit->inputMask().isEmpty() && edit->text().isEmpty(),
                 qPrintable(edit->objectName()));
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QCOMPARE(edit->maxLength(), QLineEdit().maxLength());
        QVERIFY(!edit->isReadOnly() && edit->isEnabled());
    }
}

void TestMainForm::focusChain()
{
    auto window = std::make_unique<MainWindow>();
    auto *first = qobject_cast<QWidget *>(member(window.get(), "comPortLineEdit"));
    QVERIFY(first);
    QStringList chain;
    QWidget *w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && window->isAncestorOf(w))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first && chain.size() <= 40);
    QStringList expected;
    for (const char *name : focusOrder)
        expected << name;
    QCOMPARE(chain, expected);
    for (const char *name : {"KeepConncheckBox", "EnableKeepConncheckBox"}) {
        auto *box = qobject_cast<QCheckBox *>(member(window.get(), name));
        QVERIFY(box);
        QVERIFY(!box->isChecked());
    }
    for (QLabel *label : window->findChildren<QLabel *>())
        QCOMPARE(label->buddy(), nullptr);
}

void TestMainForm::metaObjectInterface()
{
    const QMetaObject &meta = MainWindow::staticMetaObject;
    QCOMPARE(QString(meta.superClass()->className()), QStringLiteral("QMainWindow"));
    QStringList slotNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        QCOMPARE(meta.method(i).methodType(), QMetaMethod::Slot);
        slotNames << meta.method(i).methodSignature();
    }
    QCOMPARE(slotNames, QStringList({"myRead()", "myLoad()", "myUpLoad()", "myWrite()", "mySave()",
                                     "myResponse(QString)"}));
}

void TestMainForm::texts_data()
{
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("source");
    int index = 0;
    for (const FormText &t : formTexts) {
        ++index;
        for (bool translated : {false, true})
            QTest::addRow("%s %02d %s %s", translated ? "ru" : "en", index, t.object, t.property)
                << translated << t.object << QByteArray(t.property) << t.source;
    }
    for (const char *name : emptyWhatsThis) {
        for (bool translated : {false, true})
            QTest::addRow("%s %s whatsThis", translated ? "ru" : "en", name)
                << translated << name << QByteArray("whatsThis") << QString();
    }
}

void TestMainForm::texts()
{
    QFETCH(bool, translated);
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QString, source);
    InstalledTranslator installed(translated ? &russian : nullptr);
    auto window = std::make_unique<MainWindow>();
    QObject *target = member(window.get(), object);
    QVERIFY(target);
    const QString shown = target->property(property).toString();
    if (!translated || source.isEmpty()) {
        QCOMPARE(shown, source);
        return;
    }
    const QString expected = russian.translate("MainWindow", source.toUtf8().constData());
    QVERIFY2(!expected.isEmpty(), "the translation lacks this text");
    QVERIFY2(expected != source, "the translation repeats the English text");
    QCOMPARE(shown, expected);
    // Help for the technician, not the bare "H..." key of the text.
    for (const FormText &t : formTexts) {
        if (QByteArray(t.property) == "toolTip")
            QVERIFY2(!shown.startsWith(QString(t.source).trimmed()), t.source);
    }
}

void TestMainForm::startupMessage_data()
{
    QTest::addColumn<bool>("translated");
    QTest::newRow("english") << false;
    QTest::newRow("russian") << true;
}

void TestMainForm::startupMessage()
{
    QFETCH(bool, translated);
    InstalledTranslator installed(translated ? &russian : nullptr);
    auto window = std::make_unique<MainWindow>();
    auto *bar = qobject_cast<QStatusBar *>(member(window.get(), "statusBar"));
    QVERIFY(bar);
    const QString expected = translated ? russian.translate("MainWindow", noConfigMessage)
                                        : QString(noConfigMessage);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(bar->currentMessage(), expected);
}

void TestMainForm::icon_data()
{
    QTest::addColumn<bool>("withIconFile");
    QTest::newRow("icon beside the working folder") << true;
    QTest::newRow("no icon file") << false;
}

void TestMainForm::icon()
{
    QFETCH(bool, withIconFile);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("work"));
    if (withIconFile) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(dir.filePath("VELM-LOGO.ico"), "ICO"));
    }
    // The icon is looked up one level above the working folder.
    QVERIFY(QDir::setCurrent(dir.filePath("work")));
    auto window = std::make_unique<MainWindow>();
    const QIcon icon = window->windowIcon();
    if (withIconFile) {
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(16, 16)});
        QCOMPARE(icon.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    } else {
        QVERIFY(icon.availableSizes().isEmpty());
        QVERIFY(icon.pixmap(16).isNull());
    }
}

void TestMainForm::altKeysClickButtons_data()
{
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    // The window always starts translated, so the Russian buttons must keep
    // the shortcuts the manual names.
    for (bool translated : {false, true}) {
        const char *language = translated ? "Russian" : "English";
        QTest::addRow("Alt+L, %s", language) << translated << "pushButtonLoad" << int(Qt::Key_L);
        QTest::addRow("Alt+R, %s", language) << translated << "pushButtonRead" << int(Qt::Key_R);
        QTest::addRow("Alt+W, %s", language) << translated << "pushButtonWrite" << int(Qt::Key_W);
        QTest::addRow("Alt+S, %s", language) << translated << "pushButtonSave" << int(Qt::Key_S);
    }
}

void TestMainForm::altKeysClickButtons()
{
    QFETCH(bool, translated);
    QFETCH(QString, button);
    QFETCH(int, key);
    InstalledTranslator installed(translated ? &russian : nullptr);
    auto window = std::make_unique<MainWindow>();
    QVERIFY(translated == (window->windowTitle() != QStringLiteral("GPRS configurator")));
    QVERIFY(showActive(window.get()));
    const QList<QPushButton *> buttons = window->findChildren<QPushButton *>();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton *b : buttons)
        spies.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
    QTest::keyClick(window.get(), Qt::Key(key), Qt::AltModifier);
    // A mnemonic animates the press, so the click comes a moment later.
    const int target = buttons.indexOf(window->findChild<QPushButton *>(button));
    QVERIFY(target >= 0);
    QTRY_COMPARE_WITH_TIMEOUT(spies.at(target)->count(), 1, 10000);
    for (int i = 0; i < buttons.size(); ++i)
        QCOMPARE(spies.at(i)->count(), i == target ? 1 : 0);
}

void TestMainForm::loadAsksForTheFile()
{
    auto window = std::make_unique<MainWindow>();
    auto *bar = window->statusBar();
    bar->clearMessage();
    window->findChild<QPushButton *>("pushButtonLoad")->click();
    QCOMPARE(dialogCalls, QStringList({"Open Config file|Xml Files (*.xml)"}));
    QCOMPARE(bar->currentMessage(), QString(noConfigMessage));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
