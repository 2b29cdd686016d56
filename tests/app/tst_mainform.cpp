// The window's form and texts as the operator meets them: widget tree,
// layout, fixed size, keyboard, tool tips with and without the Russian
// translation, and the two file actions' messages.

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
#include <QMenuBar>
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

// Every text the form sets, in the order it sets them; an empty source is a
// what's-this that stays empty.
struct FormText {
    const char *object;
    const char *property;
    const char *source;
};

const FormText formTexts[] = {
    {"MainWindow", "windowTitle", "GPRS configurator"},
    {"comPortLabel", "text", "Connection"},
    {"comPortLineEdit", "toolTip", "HConnection"},
    {"comPortLineEdit", "whatsThis", ""},
    {"apnServerLabel", "text", "Apn server"},
    {"apnServerLineEdit", "toolTip", "HApn server"},
    {"apnLoginLabel", "text", "Apn login"},
    {"apnLoginLineEdit", "toolTip", "HApn login"},
    {"apnLoginLineEdit", "whatsThis", ""},
    {"apnPasswordLabel", "text", "Apn password"},
    {"apnPasswordLineEdit", "toolTip", "HApn password"},
    {"comPortLabel_2", "text", "Baud Tx"},
    {"TxSettingLineEdit", "toolTip", "HBaud Tx"},
    {"TxSettingLineEdit", "whatsThis", ""},
    {"comPortLabel_4", "text", "Baud Rx"},
    {"RxSettingLineEdit", "toolTip", "HBaud Rx"},
    {"RxSettingLineEdit", "whatsThis", ""},
    {"ToutAnswLineEdit", "toolTip", "HTimeout answer"},
    {"ToutAnswLineEdit", "whatsThis", ""},
    {"comPortLabel_6", "text", "Timeout next"},
    {"ToutNextLineEdit", "toolTip", "HTimeout next"},
    {"ToutNextLineEdit", "whatsThis", ""},
    {"comPortLabel_7", "text", "Trying number"},
    {"TryNumLineEdit", "toolTip", "HTrying number"},
    {"TryNumLineEdit", "whatsThis", ""},
    {"comPortLabel_8", "text", "Timeout between"},
    {"ToutBetwenLineEdit", "toolTip", "HTimeout between"},
    {"ToutBetwenLineEdit", "whatsThis", ""},
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

const char *const lineEdits[] = {
    "comPortLineEdit", "apnServerLineEdit", "apnLoginLineEdit", "apnPasswordLineEdit",
    "TxSettingLineEdit", "RxSettingLineEdit", "ToutAnswLineEdit", "ToutNextLineEdit",
    "TryNumLineEdit", "ToutBetwenLineEdit",
    "PhNum1LineEdit", "PhNum2LineEdit", "PhNum3LineEdit", "PhNum4LineEdit",
    "MirrServ1LineEdit", "MirrServ2LineEdit", "MirrServ3LineEdit", "MirrServ4LineEdit",
    "MirrPort1LineEdit", "MirrPort2LineEdit", "MirrPort3LineEdit", "MirrPort4LineEdit",
};

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

QString text(const QObject *object, const char *property)
{
    return object->property(property).toString();
}

// Installs a translator for as long as it lives, so a failing check cannot
// leave the Russian texts behind for the next test.
class InstalledTranslator
{
public:
    explicit InstalledTranslator(QTranslator *translator) : m_translator(translator)
    {
        if (m_translator)
            QCoreApplication::installTranslator(m_translator);
    }
    ~InstalledTranslator()
    {
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator);
    }
    InstalledTranslator(const InstalledTranslator &) = delete;
    InstalledTranslator &operator=(const InstalledTranslator &) = delete;

private:
    QTranslator *m_translator;
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
    void childrenInCreationOrder_data();
    void childrenInCreationOrder();
    void noOtherNamedObjects();
    void containerGeometry_data();
    void containerGeometry();
    void layoutSettings_data();
    void layoutSettings();
    void window();
    void lineEditsPlain_data();
    void lineEditsPlain();
    void focusChain();
    void metaObjectInterface();

    void sourceTexts_data();
    void sourceTexts();
    void russianTexts_data();
    void russianTexts();
    void russianKeepsTheLatinMnemonics();
    void startupMessage_data();
    void startupMessage();

    void icon_data();
    void icon();

    void altKeysClickButtons_data();
    void altKeysClickButtons();
    void tabMovesInCreationOrder_data();
    void tabMovesInCreationOrder();

    void loadAsksForTheFile_data();
    void loadAsksForTheFile();
    void responseGoesToStatusBar();
    void upLoadWithoutListReports();

private:
    std::unique_ptr<MainWindow> makeWindow();
    static QObject *member(MainWindow *window, const QString &name);
    bool showActive(MainWindow *window);

    QTemporaryDir workDir;
    QTranslator russian;
    QStringList dialogCalls;
    QString dialogAnswer;
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
        return dialogAnswer;
    });
}

void TestMainForm::cleanup()
{
    dialogCalls.clear();
    dialogAnswer.clear();
    QVERIFY(QDir::setCurrent(workDir.path()));
}

std::unique_ptr<MainWindow> TestMainForm::makeWindow()
{
    return std::make_unique<MainWindow>();
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
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("role");
    for (const Member &m : formMembers)
        QTest::newRow(m.name) << m.className << m.parent << m.layout << m.place << m.role;
}

void TestMainForm::members()
{
    QFETCH(QString, className);
    QFETCH(QString, parent);
    QFETCH(QString, layout);
    QFETCH(int, place);
    QFETCH(int, role);
    const QString name = QTest::currentDataTag();

    auto window = makeWindow();
    QObject *object = member(window.get(), name);
    QVERIFY2(object, "missing or not unique");
    QCOMPARE(object->objectName(), name);
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
                QCOMPARE(int(itemRole), role);
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

void TestMainForm::childrenInCreationOrder_data()
{
    QTest::addColumn<QStringList>("expected");
    const char *const parents[] = {"MainWindow", "centralWidget", "verticalLayoutWidget",
                                   "widget", "widget1", "widget2"};
    for (const char *parent : parents) {
        QStringList expected;
        for (const Member &m : formMembers) {
            if (QLatin1String(m.parent) == QLatin1String(parent)
                && !QByteArray(m.className).endsWith("Layout"))
                expected << m.name;
        }
        QTest::newRow(parent) << expected;
    }
}

void TestMainForm::childrenInCreationOrder()
{
    QFETCH(QStringList, expected);
    auto window = makeWindow();
    QObject *parent = member(window.get(), QTest::currentDataTag());
    QVERIFY(parent);
    QStringList actual;
    for (QObject *child : parent->children()) {
        if (child->isWidgetType() && !child->objectName().isEmpty()
            && !child->objectName().startsWith(QLatin1String("qt_")))
            actual << child->objectName();
    }
    QCOMPARE(actual, expected);
}

void TestMainForm::noOtherNamedObjects()
{
    auto window = makeWindow();
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
    QVERIFY(window->findChildren<QMenuBar *>().isEmpty());
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
    auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *container = qobject_cast<QWidget *>(member(window.get(), QTest::currentDataTag()));
    QVERIFY(container);
    QCOMPARE(container->geometry(), geometry);
}

void TestMainForm::layoutSettings_data()
{
    QTest::addColumn<int>("spacing");
    QTest::addColumn<bool>("zeroMargins");
    QTest::newRow("verticalLayout") << 6 << true;
    QTest::newRow("formLayout_3") << 6 << false;
    QTest::newRow("horizontalLayout_2") << 6 << true;
    QTest::newRow("horizontalLayout_4") << 6 << true;
    QTest::newRow("horizontalLayout") << 6 << true;
    QTest::newRow("verticalLayout_3") << 6 << false;
    QTest::newRow("verticalLayout_4") << 6 << false;
    QTest::newRow("verticalLayout_2") << 6 << false;
}

void TestMainForm::layoutSettings()
{
    QFETCH(int, spacing);
    QFETCH(bool, zeroMargins);
    auto window = makeWindow();
    auto *lay = qobject_cast<QLayout *>(member(window.get(), QTest::currentDataTag()));
    QVERIFY(lay);
    QCOMPARE(lay->spacing(), spacing);
    if (zeroMargins) {
        QCOMPARE(lay->contentsMargins(), QMargins(0, 0, 0, 0));
    } else {
        // Left at what the toolkit gives a layout nested in another one.
        QWidget probe;
        auto *outer = new QVBoxLayout(&probe);
        auto *nested = new QVBoxLayout;
        outer->addLayout(nested);
        QCOMPARE(lay->contentsMargins(), nested->contentsMargins());
    }
    if (auto *form = qobject_cast<QFormLayout *>(lay)) {
        QCOMPARE(form->horizontalSpacing(), spacing);
        QCOMPARE(form->verticalSpacing(), spacing);
        QCOMPARE(form->fieldGrowthPolicy(), QFormLayout::AllNonFixedFieldsGrow);
        QCOMPARE(form->rowCount(), 10);
    }
}

void TestMainForm::window()
{
    auto window = makeWindow();
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

void TestMainForm::lineEditsPlain_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : lineEdits)
        QTest::newRow(name) << QString(name);
}

void TestMainForm::lineEditsPlain()
{
    QFETCH(QString, name);
    auto window = makeWindow();
    auto *edit = qobject_cast<QLineEdit *>(member(window.get(), name));
    QVERIFY(edit);
    QCOMPARE(edit->validator(), nullptr);
    QCOMPARE(edit->inputMask(), QString());
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);
    QCOMPARE(edit->maxLength(), QLineEdit().maxLength());
    QVERIFY(!edit->isReadOnly());
    QVERIFY(edit->isEnabled());
    QCOMPARE(edit->text(), QString());
}

void TestMainForm::focusChain()
{
    auto window = makeWindow();
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
    QCOMPARE(QString(meta.className()), QStringLiteral("MainWindow"));
    QCOMPARE(QString(meta.superClass()->className()), QStringLiteral("QMainWindow"));
    QStringList slotNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QCOMPARE(method.returnType(), int(QMetaType::Void));
        slotNames << method.methodSignature();
    }
    QCOMPARE(slotNames, QStringList({"myRead()", "myLoad()", "myUpLoad()", "myWrite()", "mySave()",
                                 "myResponse(QString)"}));
    QCOMPARE(meta.propertyCount(), meta.propertyOffset());
    QCOMPARE(meta.enumeratorCount(), meta.enumeratorOffset());
    QCOMPARE(meta.classInfoCount(), meta.classInfoOffset());
}

void TestMainForm::sourceTexts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("source");
    int index = 0;
    for (const FormText &t : formTexts) {
        QTest::addRow("%02d %s %s", ++index, t.object, t.property)
            << t.object << QByteArray(t.property) << t.source;
    }
}

void TestMainForm::sourceTexts()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QString, source);
    auto window = makeWindow();
    QObject *target = member(window.get(), object);
    QVERIFY(target);
    QCOMPARE(text(target, property), source);
}

void TestMainForm::russianTexts_data()
{
    sourceTexts_data();
}

void TestMainForm::russianTexts()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QString, source);
    InstalledTranslator installed(&russian);
    auto window = makeWindow();
    QObject *target = member(window.get(), object);
    QVERIFY(target);
    const QString shown = text(target, property);
    if (source.isEmpty()) {
        QCOMPARE(shown, QString());
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

void TestMainForm::russianKeepsTheLatinMnemonics()
{
    // The window always starts translated, so the Russian buttons must keep
    // the shortcuts the manual names: Alt+L, Alt+R, Alt+W, Alt+S.
    InstalledTranslator installed(&russian);
    auto window = makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Конфигуратор GPRS"));
    const QVector<QPair<const char *, QKeySequence>> expected = {
        {"pushButtonLoad", QKeySequence(Qt::ALT | Qt::Key_L)},
        {"pushButtonRead", QKeySequence(Qt::ALT | Qt::Key_R)},
        {"pushButtonWrite", QKeySequence(Qt::ALT | Qt::Key_W)},
        {"pushButtonSave", QKeySequence(Qt::ALT | Qt::Key_S)},
    };
    for (const auto &button : expected) {
        auto *widget = window->findChild<QPushButton *>(button.first);
        QVERIFY(widget);
        QCOMPARE(QKeySequence::mnemonic(widget->text()), button.second);
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
    auto window = makeWindow();
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
    auto window = makeWindow();
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
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::newRow("Alt+L") << "pushButtonLoad" << int(Qt::Key_L);
    QTest::newRow("Alt+R") << "pushButtonRead" << int(Qt::Key_R);
    QTest::newRow("Alt+W") << "pushButtonWrite" << int(Qt::Key_W);
    QTest::newRow("Alt+S") << "pushButtonSave" << int(Qt::Key_S);
}

void TestMainForm::altKeysClickButtons()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    auto window = makeWindow();
    QVERIFY(showActive(window.get()));
    auto *target = qobject_cast<QPushButton *>(member(window.get(), button));
    QVERIFY(target);
    QList<QSignalSpy *> spies;
    std::vector<std::unique_ptr<QSignalSpy>> owned;
    for (QPushButton *b : window->findChildren<QPushButton *>()) {
        owned.push_back(std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked));
        QVERIFY(owned.back()->isValid());
        spies << owned.back().get();
    }
    QTest::keyClick(window.get(), Qt::Key(key), Qt::AltModifier);
    // A mnemonic animates the press, so the click comes a moment later.
    const QList<QPushButton *> buttons = window->findChildren<QPushButton *>();
    const int targetIndex = buttons.indexOf(target);
    QVERIFY(targetIndex >= 0);
    QTRY_COMPARE_WITH_TIMEOUT(spies.at(targetIndex)->count(), 1, 10000);
    for (int i = 0; i < buttons.size(); ++i)
        QCOMPARE(spies.at(i)->count(), i == targetIndex ? 1 : 0);
}

void TestMainForm::tabMovesInCreationOrder_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("form to buttons") << "ToutBetwenLineEdit" << "pushButtonLoad";
    QTest::newRow("buttons to boxes") << "pushButtonSave" << "KeepConncheckBox";
    QTest::newRow("boxes to phones") << "EnableKeepConncheckBox" << "PhNum1LineEdit";
    QTest::newRow("phones to servers") << "PhNum4LineEdit" << "MirrServ1LineEdit";
    QTest::newRow("servers to ports") << "MirrServ4LineEdit" << "MirrPort1LineEdit";
}

void TestMainForm::tabMovesInCreationOrder()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    auto window = makeWindow();
    QVERIFY(showActive(window.get()));
    auto *start = qobject_cast<QWidget *>(member(window.get(), from));
    auto *next = qobject_cast<QWidget *>(member(window.get(), to));
    QVERIFY(start);
    QVERIFY(next);
    start->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), start, 10000);
    QTest::keyClick(start, Qt::Key_Tab);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), next, 10000);
}

void TestMainForm::loadAsksForTheFile_data()
{
    QTest::addColumn<bool>("pickFile");
    QTest::newRow("cancelled") << false;
    QTest::newRow("file picked") << true;
}

void TestMainForm::loadAsksForTheFile()
{
    QFETCH(bool, pickFile);
    auto window = makeWindow();
    auto *bar = qobject_cast<QStatusBar *>(member(window.get(), "statusBar"));
    auto *load = qobject_cast<QPushButton *>(member(window.get(), "pushButtonLoad"));
    QVERIFY(bar);
    QVERIFY(load);
    bar->clearMessage();

    if (pickFile) {
        QFile file(workDir.filePath("picked.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<conf><prm>\n"
                   "<ComPort name=\"dev=COM3;baud=19200\"/>\n<KeepCon name=\"2\"/>\n"
                   "<EnableKeepCon name=\"true\"/>\n<TryNum name=\"3\"/>\n"
                   "<MirrPort3 name=\"5020\"/>\n<comport name=\"ignored\"/>\n"
                   "<apnServer name=\"\xd0\xbc\xd1\x82\xd1\x81\"/>\n</prm></conf>\n");
        file.close();
        dialogAnswer = file.fileName();
    }
    load->click();

    QCOMPARE(dialogCalls, QStringList({"Open Config file|Xml Files (*.xml)"}));
    auto field = [&](const char *name) {
        auto *edit = qobject_cast<QLineEdit *>(member(window.get(), name));
        return edit ? edit->text() : QStringLiteral("<missing>");
    };
    auto box = [&](const char *name) {
        auto *check = qobject_cast<QCheckBox *>(member(window.get(), name));
        return check && check->isChecked();
    };
    if (!pickFile) {
        QCOMPARE(bar->currentMessage(), QString(noConfigMessage));
        QCOMPARE(field("comPortLineEdit"), QString());
        return;
    }
    QCOMPARE(bar->currentMessage(), QString());
    QCOMPARE(field("comPortLineEdit"), QStringLiteral("dev=COM3;baud=19200"));
    QCOMPARE(field("TryNumLineEdit"), QStringLiteral("3"));
    QCOMPARE(field("MirrPort3LineEdit"), QStringLiteral("5020"));
    QCOMPARE(field("MirrPort2LineEdit"), QString());
    QCOMPARE(box("KeepConncheckBox"), true);
    QCOMPARE(box("EnableKeepConncheckBox"), false);
    // Letters outside ASCII load back as they were written.
    QCOMPARE(field("apnServerLineEdit"), QStringLiteral("мтс"));
}

void TestMainForm::responseGoesToStatusBar()
{
    auto window = makeWindow();
    auto *bar = qobject_cast<QStatusBar *>(member(window.get(), "statusBar"));
    QVERIFY(bar);
    QVERIFY(QMetaObject::invokeMethod(window.get(), "myResponse",
                                      Q_ARG(QString, QStringLiteral("The Port COM7 was not open"))));
    QCOMPARE(bar->currentMessage(), QStringLiteral("The Port COM7 was not open"));
}

void TestMainForm::upLoadWithoutListReports()
{
    auto window = makeWindow();
    auto *bar = qobject_cast<QStatusBar *>(member(window.get(), "statusBar"));
    QVERIFY(bar);
    bar->clearMessage();
    QVERIFY(!QFile::exists("python/uploader.xml"));
    QVERIFY(QMetaObject::invokeMethod(window.get(), "myUpLoad"));
    QCOMPARE(bar->currentMessage(), QStringLiteral("There is not the update files"));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
