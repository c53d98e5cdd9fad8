#include "addin/connected_host.h"

namespace trawlex::addin {

namespace {

Failure NotConnected() {
    return Failure{"Trawlex Plus is not connected to a host editor"};
}

}  // namespace

Result<std::shared_ptr<host::CodePane>> ConnectedHost::ActiveCodePane() {
    if (!target_) return NotConnected();
    return target_->ActiveCodePane();
}

Result<std::shared_ptr<host::CodePanes>> ConnectedHost::CodePanes() {
    if (!target_) return NotConnected();
    return target_->CodePanes();
}

Result<std::shared_ptr<host::VBProject>> ConnectedHost::ActiveVBProject() {
    if (!target_) return NotConnected();
    return target_->ActiveVBProject();
}

Result<std::shared_ptr<host::CommandBars>> ConnectedHost::CommandBars() {
    if (!target_) return NotConnected();
    return target_->CommandBars();
}

Result<std::shared_ptr<host::Events>> ConnectedHost::Events() {
    if (!target_) return NotConnected();
    return target_->Events();
}

Result<std::shared_ptr<host::Addins>> ConnectedHost::Addins() {
    if (!target_) return NotConnected();
    return target_->Addins();
}

Result<std::string> ConnectedHost::LastUsedPath() const {
    if (!target_) return NotConnected();
    return target_->LastUsedPath();
}

Result<std::string> ConnectedHost::DefaultValue() const {
    if (!target_) return NotConnected();
    return target_->DefaultValue();
}

Status ConnectedHost::SetClipboardPicture(const host::Bitmap& picture) {
    if (!target_) return NotConnected();
    return target_->SetClipboardPicture(picture);
}

Result<host::Bitmap> ConnectedHost::ClipboardPicture() const {
    if (!target_) return NotConnected();
    return target_->ClipboardPicture();
}

}  // namespace trawlex::addin
