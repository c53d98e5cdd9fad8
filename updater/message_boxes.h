#pragma once
// The updater's message boxes, all under its title "Trawlex Plus Updater". Tests put answers
// of their own in place of the user's.

#include <QString>

class QWidget;

namespace trawlex::updater {

inline constexpr const char* kUpdaterTitle = "Trawlex Plus Updater";

class MessageBoxes {
  public:
    enum class Icon { None, Question, Information, Critical };

    virtual ~MessageBoxes() = default;
    // Yes and No buttons, No the default; true only for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text, Icon icon);
    // An OK button only.
    virtual void Tell(QWidget* parent, const QString& text, Icon icon);
};

}  // namespace trawlex::updater
