#include "window/search_history.h"

#include <QComboBox>

#include "window/control_settings.h"
#include "window/text_edit.h"

namespace trawlex::window {

QString HistoryKey(int number) {
    return QStringLiteral("History") + QString::number(number);
}

Status AddHistory(QComboBox& box, const QString& text) {
    // One read of the store, and one write of the entries whose value changes.
    const SettingsSnapshot snapshot;
    QStringList stored;
    for (int n = 0; n < kHistoryEntries; ++n) {
        stored << snapshot.Read(HistoryKey(n));
        if (stored.back() == text) return {};
    }
    SettingsBatch batch;
    for (int i = kHistoryEntries - 1; i >= 1; --i) {
        if (stored[i] != stored[i - 1]) batch.Write(HistoryKey(i), stored[i - 1]);
    }
    batch.Write(HistoryKey(0), text);
    Status saved = batch.Save();
    box.insertItem(0, text);
    box.setCurrentIndex(0);
    box.setEditText(text);
    return saved;
}

void LoadHistory(QComboBox& box) {
    const QString editText = box.currentText();
    box.clear();
    const SettingsSnapshot snapshot;
    for (int n = 0; n < kHistoryShown; ++n) {
        const QString entry =
            QString::fromStdString(TrimSpaces(snapshot.Read(HistoryKey(n)).toStdString()));
        if (!entry.isEmpty()) box.addItem(entry);
    }
    // Emptying the list must not take the typed search string with it.
    if (box.isEditable()) box.setEditText(editText);
}

}  // namespace trawlex::window
