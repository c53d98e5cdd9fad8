#pragma once
// The search-string history: settings "History0" (newest) to "History30" (oldest).

#include <QString>

#include "base/result.h"

class QComboBox;

namespace trawlex::window {

inline constexpr int kHistoryEntries = 31;
inline constexpr int kHistoryShown = 30;

QString HistoryKey(int number);

// A string already stored (compared exactly) changes nothing; otherwise it becomes
// "History0", the others shift down one place and the oldest is lost. The box gets the
// new string at the top of its list and as its text. When the store cannot be written it
// stays as it was, the box still gets the string, and the failure is returned.
Status AddHistory(QComboBox& box, const QString& text);

// Refills the box's list with the 30 newest non-empty entries, with their leading and
// trailing spaces removed, newest first.
void LoadHistory(QComboBox& box);

}  // namespace trawlex::window
