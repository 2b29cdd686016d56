#include "settingeditors.h"

#include "settingsvalues.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>

void SettingEditors::attach(QWidget *form, QWidget *page)
{
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        const QString name = editorName(index);
        QWidget *editor = form->findChild<QWidget *>(name);
        hidden.set(size_t(index), editor == nullptr);
        if (!editor)
            editor = page->findChild<QWidget *>(name);
        Q_ASSERT(editor);
        if (auto *box = qobject_cast<QCheckBox *>(editor))
            add(index, box);
        else
            add(index, qobject_cast<QLineEdit *>(editor));
    }
}

QString SettingEditors::editorName(int index)
{
    // The main form's names come from the first configurator's form.
    switch (index) {
    case DeviceSettings::ToutWaitAnsw:
        return QStringLiteral("ToutAnswLineEdit");
    case DeviceSettings::ToutWaitNextPacket:
        return QStringLiteral("ToutNextLineEdit");
    case DeviceSettings::ToutBetwenBytes:
        return QStringLiteral("ToutBetwenLineEdit");
    case DeviceSettings::KeepCon:
        return QStringLiteral("KeepConncheckBox");
    default:
        return DeviceSettings::key(index) + QLatin1String("LineEdit");
    }
}

void SettingEditors::add(int index, QLineEdit *field)
{
    editors[size_t(index)] = field;
    QObject::connect(field, &QLineEdit::textEdited, field, [this, index] { markKnown(index); });
}

void SettingEditors::add(int index, QCheckBox *box)
{
    editors[size_t(index)] = box;
    QObject::connect(box, &QAbstractButton::clicked, box, [this, index] { markKnown(index); });
}

QString SettingEditors::value(int index) const
{
    QWidget *editor = editors[size_t(index)];
    if (auto *box = qobject_cast<QCheckBox *>(editor))
        return checkedValue(box->isChecked());
    if (auto *field = qobject_cast<QLineEdit *>(editor))
        return field->text();
    return QString();
}

void SettingEditors::show(int index, const DeviceSettings &record)
{
    shown.takeEntry(index, record);
    QWidget *editor = editors[size_t(index)];
    if (auto *box = qobject_cast<QCheckBox *>(editor))
        box->setChecked(isCheckedValue(record.value(index)));
    else if (auto *field = qobject_cast<QLineEdit *>(editor))
        field->setText(record.value(index));
    markKnown(index);
}

void SettingEditors::showAll(const DeviceSettings &record)
{
    for (int index = 0; index < DeviceSettings::Count; ++index)
        show(index, record);
}

DeviceSettings SettingEditors::record() const
{
    // A changed text drops the bytes it replaces.
    DeviceSettings record = shown;
    for (int index = 0; index < DeviceSettings::Count; ++index)
        record.setValue(index, value(index));
    return record;
}

QStringList SettingEditors::unknownHiddenLabels() const
{
    QStringList labels;
    for (int index = 0; index < DeviceSettings::Count; ++index) {
        if (isUnknownHidden(index))
            labels << DeviceSettings::label(index);
    }
    return labels;
}

void SettingEditors::showNotFromModem(bool notFromModem)
{
    const QColor text = QGuiApplication::palette().color(notFromModem ? QPalette::Disabled : QPalette::Active,
                                                          QPalette::Text);
    for (QWidget *editor : editors) {
        if (auto *field = qobject_cast<QLineEdit *>(editor)) {
            QPalette palette = field->palette();
            palette.setColor(QPalette::Text, text);
            field->setPalette(palette);
        }
    }
}

void SettingEditors::markKnown(int index)
{
    known.set(size_t(index));
    // An empty field now means an empty setting, not one nobody has read.
    if (auto *field = qobject_cast<QLineEdit *>(editors[size_t(index)]))
        field->setPlaceholderText(QString());
}
