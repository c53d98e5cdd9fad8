#include "window/message_box.h"

namespace trawlex::window {

namespace {

MessageBoxDisplay& Display() {
    static MessageBoxDisplay display;
    return display;
}

}  // namespace

void ShowMessageBox(QWidget* parent, const MessageBoxRequest& request) {
    if (Display()) {
        Display()(parent, request);
        return;
    }
    QMessageBox box(request.icon, request.title, request.text, QMessageBox::Ok, parent);
    box.exec();
}

MessageBoxDisplay SetMessageBoxDisplay(MessageBoxDisplay display) {
    return std::exchange(Display(), std::move(display));
}

}  // namespace trawlex::window
