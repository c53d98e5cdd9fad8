#include "window/control_settings.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "platform/reg_hive.h"
#include "platform/settings.h"

namespace trawlex::window {

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// Check box values as the settings count them: 0 unchecked, 1 checked, 2 grayed.
std::optional<int> CheckValue(const QWidget& control) {
    auto* box = qobject_cast<const QCheckBox*>(&control);
    if (!box) return std::nullopt;
    switch (box->checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
    }
    return std::nullopt;
}

void SetCheckValue(QWidget& control, int value) {
    auto* box = qobject_cast<QCheckBox*>(&control);
    if (!box) return;
    switch (value) {
        case 0:
            box->setCheckState(Qt::Unchecked);
            break;
        case 1:
            box->setCheckState(Qt::Checked);
            break;
        case 2:
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
            break;
        default:
            break;  // does not fit: left as it was
    }
}

std::optional<int> ComboIndex(const QWidget& control) {
    auto* combo = qobject_cast<const QComboBox*>(&control);
    if (!combo) return std::nullopt;
    return combo->currentIndex();
}

void SetComboIndex(QWidget& control, int index) {
    auto* combo = qobject_cast<QComboBox*>(&control);
    if (!combo || index < -1 || index >= combo->count()) return;
    combo->setCurrentIndex(index);
}

std::optional<QString> ControlText(const QWidget& control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(&control)) return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(&control)) return combo->currentText();
    return std::nullopt;
}

void SetControlText(QWidget& control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else if (int found = combo->findText(text); found >= 0 || text.isEmpty()) {
            combo->setCurrentIndex(found);
        }
    }
}

std::optional<int> OptionIndex(const QWidget& control) {
    if (!qobject_cast<const QAbstractButton*>(&control)) return std::nullopt;
    QVariant index = control.property("index");
    bool ok = false;
    int value = index.toInt(&ok);
    if (!index.isValid() || !ok) return std::nullopt;
    return value;
}

std::optional<bool> OptionValue(const QWidget& control) {
    auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!button) return std::nullopt;
    return button->isChecked();
}

// Selecting an element clears its siblings; clearing the selected element leaves the
// whole array without a selection.
void SetOptionValue(QWidget& control, bool value) {
    auto* button = qobject_cast<QAbstractButton*>(&control);
    if (!button) return;
    if (value || !button->isChecked()) {
        button->setChecked(value);
        return;
    }
    if (QButtonGroup* group = button->group(); group && group->exclusive()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
    } else {
        bool autoExclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(autoExclusive);
    }
}

QString BaseSettingsKey(const QWidget& control) {
    QString tag = control.property("tag").toString();
    return tag.isEmpty() ? control.objectName() : tag;
}

QString OptionSettingsKey(const QString& base, int index) {
    return base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QString TabKey(const QWidget& control, int currentTab) {
    return control.objectName() + QLatin1Char('_') + QString::number(currentTab);
}

QString TabOptionKey(const QString& tabKey, int index) {
    return tabKey + QLatin1Char('_') + QString::number(index);
}

QString BoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

}  // namespace

PersistKind PersistKindOf(const QWidget& control) {
    const QString prefix = control.objectName().left(3);
    if (prefix == QLatin1String("chk")) return PersistKind::Check;
    if (prefix == QLatin1String("cmb")) return PersistKind::Combo;
    if (prefix == QLatin1String("txt")) return PersistKind::Text;
    if (prefix == QLatin1String("opt")) return PersistKind::Option;
    return PersistKind::None;
}

QList<QWidget*> PersistedControls(const QWidget& window) {
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (PersistKindOf(*child) != PersistKind::None) controls.append(child);
    }
    return controls;
}

std::optional<bool> ParseSettingBool(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    double number = trimmed.toDouble(&ok);
    if (ok) return number != 0.0;
    return std::nullopt;
}

std::optional<int> ParseSettingInt(const QString& text) {
    bool ok = false;
    int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

QString ReadSetting(const QString& key, const QString& defaultValue) {
    return QString::fromStdString(
        platform::GetSetting(kSettingsApp, kSettingsSection, Utf8(key), Utf8(defaultValue)));
}

void WriteSetting(const QString& key, const QString& value) {
    platform::SaveSetting(kSettingsApp, kSettingsSection, Utf8(key), Utf8(value));
}

SettingsSnapshot::SettingsSnapshot() {
    for (auto& [key, value] : platform::GetAllSettings(kSettingsApp, kSettingsSection)) {
        values_.emplace(platform::FoldCase(key), QString::fromStdString(value));
    }
}

QString SettingsSnapshot::Read(const QString& key, const QString& defaultValue) const {
    auto found = values_.find(platform::FoldCase(Utf8(key)));
    return found == values_.end() ? defaultValue : found->second;
}

void SettingsBatch::Write(const QString& key, const QString& value) {
    values_.emplace_back(Utf8(key), Utf8(value));
}

Status SettingsBatch::Save() {
    Status status = platform::SaveSettings(kSettingsApp, kSettingsSection, values_);
    values_.clear();
    return status;
}

Status SaveControlSettings(const QWidget& window) {
    SettingsBatch batch;
    for (QWidget* control : PersistedControls(window)) {
        const QString key = BaseSettingsKey(*control);
        switch (PersistKindOf(*control)) {
            case PersistKind::Check:
                if (auto value = CheckValue(*control)) batch.Write(key, QString::number(*value));
                break;
            case PersistKind::Combo:
                if (auto value = ComboIndex(*control)) batch.Write(key, QString::number(*value));
                break;
            case PersistKind::Text:
                if (auto value = ControlText(*control)) batch.Write(key, *value);
                break;
            case PersistKind::Option: {
                auto index = OptionIndex(*control);
                auto value = OptionValue(*control);
                if (index && value) batch.Write(OptionSettingsKey(key, *index), BoolText(*value));
                break;
            }
            case PersistKind::None:
                break;
        }
    }
    return batch.Save();
}

void LoadControlSettings(QWidget& window) {
    const SettingsSnapshot stored;
    for (QWidget* control : PersistedControls(window)) {
        const QString key = BaseSettingsKey(*control);
        switch (PersistKindOf(*control)) {
            case PersistKind::Check: {
                const QString text = stored.Read(key);
                if (text.isEmpty()) break;
                if (auto value = ParseSettingInt(text)) SetCheckValue(*control, *value);
                break;
            }
            case PersistKind::Combo:
                if (auto value = ParseSettingInt(stored.Read(key, QStringLiteral("0")))) {
                    SetComboIndex(*control, *value);
                }
                break;
            case PersistKind::Text:
                SetControlText(*control, stored.Read(key));
                break;
            case PersistKind::Option: {
                auto index = OptionIndex(*control);
                if (!index) break;
                const QString text = stored.Read(OptionSettingsKey(key, *index));
                if (text.isEmpty()) break;
                if (auto value = ParseSettingBool(text)) SetOptionValue(*control, *value);
                break;
            }
            case PersistKind::None:
                break;
        }
    }
}

std::optional<QVariant> TabStateStore::Find(const QString& key) const {
    auto found = entries_.constFind(key);
    if (found == entries_.constEnd()) return std::nullopt;
    return *found;
}

TabStateStore& SharedTabStateStore() {
    static TabStateStore store;
    return store;
}

void SaveTabState(const QWidget& window, int currentTab, TabStateStore& store) {
    for (QWidget* control : PersistedControls(window)) {
        const QString key = TabKey(*control, currentTab);
        auto index = OptionIndex(*control);
        store.Remove(key);
        if (index) store.Remove(TabOptionKey(key, *index));
        switch (PersistKindOf(*control)) {
            case PersistKind::Check:
                if (auto value = CheckValue(*control)) store.Set(key, *value);
                break;
            case PersistKind::Combo:
                if (auto value = ComboIndex(*control)) store.Set(key, *value);
                break;
            case PersistKind::Text:
                if (auto value = ControlText(*control)) store.Set(key, *value);
                break;
            case PersistKind::Option:
                if (auto value = OptionValue(*control); value && index) {
                    store.Set(TabOptionKey(key, *index), *value);
                }
                break;
            case PersistKind::None:
                break;
        }
    }
}

void LoadTabState(QWidget& window, int currentTab, TabStateStore& store) {
    for (QWidget* control : PersistedControls(window)) {
        const QString key = TabKey(*control, currentTab);
        switch (PersistKindOf(*control)) {
            case PersistKind::Check:
                if (auto entry = store.Find(key)) SetCheckValue(*control, entry->toInt());
                break;
            case PersistKind::Combo:
                SetComboIndex(*control, store.Find(key).value_or(QVariant(0)).toInt());
                break;
            case PersistKind::Text:
                SetControlText(*control, store.Find(key).value_or(QVariant(QString())).toString());
                break;
            case PersistKind::Option:
                if (auto index = OptionIndex(*control)) {
                    if (auto entry = store.Find(TabOptionKey(key, *index))) {
                        SetOptionValue(*control, entry->toBool());
                    }
                }
                break;
            case PersistKind::None:
                break;
        }
    }
}

}  // namespace trawlex::window
