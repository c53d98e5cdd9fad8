#include "vbide/ide_host.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

#include "vbide/addin_manager.h"
#include "vbide/bitmap_image.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_workspace.h"

namespace trawlex::vbide {

IdeHost::IdeHost(Flavour flavour, IdeWorkspace& workspace, IdeCommandBarSet& bars)
    : flavour_(flavour),
      workspace_(workspace),
      bars_(bars),
      addins_(std::make_shared<AddinManager>(flavour, *this)),
      lastUsedPath_(QDir::currentPath().toStdString()) {
    // An add-in unloaded from inside its own click handler goes once that click has returned.
    addins_->SetUnloadGuard([&bars] { return bars.Dispatching(); });
    bars.SetAfterDispatch([weak = std::weak_ptr<AddinManager>(addins_)] {
        if (auto addins = weak.lock()) addins->UnloadDisconnected();
    });
}

IdeHost::~IdeHost() {
    addins_->DisconnectAll(host::ext_dm_HostShutdown);
}

Result<std::shared_ptr<host::CodePane>> IdeHost::ActiveCodePane() {
    return std::shared_ptr<host::CodePane>(workspace_.ActivePane());
}

Result<std::shared_ptr<host::CodePanes>> IdeHost::CodePanes() {
    return std::shared_ptr<host::CodePanes>(std::make_shared<IdeCodePanes>(&workspace_));
}

Result<std::shared_ptr<host::VBProject>> IdeHost::ActiveVBProject() {
    return std::shared_ptr<host::VBProject>(workspace_.ActiveProject());
}

Result<std::shared_ptr<host::CommandBars>> IdeHost::CommandBars() {
    return bars_.CommandBars();
}

Result<std::shared_ptr<host::Events>> IdeHost::Events() {
    return bars_.Events();
}

Result<std::shared_ptr<host::Addins>> IdeHost::Addins() {
    return addins_->Addins();
}

Result<std::string> IdeHost::LastUsedPath() const {
    if (flavour_ != Flavour::VisualBasic6)
        return Failure{"Object doesn't support this property or method"};
    return lastUsedPath_;
}

Result<std::string> IdeHost::DefaultValue() const {
    if (flavour_ != Flavour::VisualBasic6)
        return Failure{"Object doesn't support this property or method"};
    return DefaultValueOf(flavour_);
}

Status IdeHost::SetClipboardPicture(const host::Bitmap& picture) {
    const QImage image = ImageOfBitmap(picture);
    if (image.isNull()) return Failure{"Invalid picture"};
    QGuiApplication::clipboard()->setImage(image);
    return {};
}

Result<host::Bitmap> IdeHost::ClipboardPicture() const {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return Failure{"the clipboard holds no picture"};
    return BitmapOfImage(image);
}

}  // namespace trawlex::vbide
