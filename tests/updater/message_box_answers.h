#pragma once
// Answers the message boxes a test cannot reach: every box that shows gets Yes (or OK)
// clicked, and its text is recorded. Header-only, for the updater's and the editor's tests.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace updater_test {

class MessageBoxAnswers {
  public:
    MessageBoxAnswers() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (!box || !box->isVisible()) continue;
                texts << box->text();
                QAbstractButton* button = box->button(QMessageBox::Yes);
                if (!button) button = box->button(QMessageBox::Ok);
                if (button) button->click();
            }
        });
        timer_.start();
    }
    QStringList texts;

  private:
    QTimer timer_;
};

}  // namespace updater_test
