#include "updater/message_boxes.h"

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

}  // namespace

bool MessageBoxes::AskYesNo(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(BoxIcon(icon), kUpdaterTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxes::Tell(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(BoxIcon(icon), kUpdaterTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace trawlex::updater
