#include "updater/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace trawlex::updater {

namespace {

QMessageBox::Icon BoxIcon(MessageBoxes::Icon icon) {
    switch (icon) {
        case MessageBoxes::Icon::Question:
            return QMessageBox::Question;
        case MessageBoxes::Icon::Information:
            return QMessageBox::Information;
        case MessageBoxes::Icon::Critical:
            return QMessageBox::Critical;
        case MessageBoxes::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// A box over a window that is not shown yet (the version window while it loads) would sit
// in a corner of the screen: such a box stands over the active window (the host's) instead.
QWidget* Owner(QWidget* parent) {
    return parent && parent->isVisible() ? parent : QApplication::activeWindow();
}

}  // namespace

bool MessageBoxes::AskYesNo(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(BoxIcon(icon), kUpdaterTitle, text, QMessageBox::Yes | QMessageBox::No,
                    Owner(parent));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxes::Tell(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(BoxIcon(icon), kUpdaterTitle, text, QMessageBox::Ok, Owner(parent));
    box.exec();
}

}  // namespace trawlex::updater
