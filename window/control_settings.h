#pragma once
// Persists a window's controls by the first three characters of their objectName:
// "chk" check box value (0/1/2), "cmb" combo list index, "txt" text, "opt" option button of
// an array (its element number in the dynamic property "index"). The settings key is the
// dynamic property "tag" when not empty, else the objectName; option buttons append "(index)".
// Every step ignores its own failure: a control without the property, or a value that does
// not fit the control, is left as it was and the walk goes on.

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/result.h"

class QWidget;

namespace trawlex::window {

inline constexpr std::string_view kSettingsApp = "quillfen";
inline constexpr std::string_view kSettingsSection = "Trawlex";

enum class PersistKind { None, Check, Combo, Text, Option };

PersistKind PersistKindOf(const QWidget& control);

// The persisted controls below `window`, in control order (creation order, depth first).
QList<QWidget*> PersistedControls(const QWidget& window);

// Boolean text as the settings hold it: "True"/"False" in any letter case, or a number
// (non-zero is true). Anything else does not convert.
std::optional<bool> ParseSettingBool(const QString& text);
// A decimal integer, surrounding spaces allowed. Anything else does not convert.
std::optional<int> ParseSettingInt(const QString& text);

// Reads a key of the application's settings section (absent → defaultValue).
QString ReadSetting(const QString& key, const QString& defaultValue = {});
void WriteSetting(const QString& key, const QString& value);

// The application's settings section read once, for code that reads many keys (each
// single read parses the whole store). Keys compare without ASCII case, as in the store.
class SettingsSnapshot {
  public:
    SettingsSnapshot();
    QString Read(const QString& key, const QString& defaultValue = {}) const;

  private:
    std::map<std::string, QString> values_;  // by folded key
};

// Several keys written in one change of the store.
class SettingsBatch {
  public:
    void Write(const QString& key, const QString& value);
    // All keys or, when the store refuses the change, none; the store's reason on failure.
    Status Save();

  private:
    std::vector<std::pair<std::string, std::string>> values_;
};

// Fails with the store's reason when it refused the write; the store is then unchanged.
Status SaveControlSettings(const QWidget& window);
void LoadControlSettings(QWidget& window);

// In-memory control values per result tab, kept for as long as the library is loaded.
class TabStateStore {
  public:
    void Set(const QString& key, const QVariant& value) { entries_.insert(key, value); }
    void Remove(const QString& key) { entries_.remove(key); }
    std::optional<QVariant> Find(const QString& key) const;
    qsizetype Size() const { return entries_.size(); }

  private:
    QHash<QString, QVariant> entries_;
};

TabStateStore& SharedTabStateStore();

void SaveTabState(const QWidget& window, int currentTab,
                  TabStateStore& store = SharedTabStateStore());
// Entries missing for the tab: combos go to their first item, texts are emptied,
// check boxes and option buttons stay.
void LoadTabState(QWidget& window, int currentTab, TabStateStore& store = SharedTabStateStore());

}  // namespace trawlex::window
