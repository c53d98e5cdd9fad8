#pragma once
// The add-in's message boxes: a text, a title, an OK button and an optional icon. Tests
// replace the display to read what would have been shown.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace trawlex::window {

struct MessageBoxRequest {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

using MessageBoxDisplay = std::function<void(QWidget* parent, const MessageBoxRequest&)>;

// Shows the box modally (or hands it to the display a test installed).
void ShowMessageBox(QWidget* parent, const MessageBoxRequest& request);

// Replaces the display; an empty one restores the real box. Returns the previous display.
MessageBoxDisplay SetMessageBoxDisplay(MessageBoxDisplay display);

}  // namespace trawlex::window
