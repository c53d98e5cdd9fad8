#pragma once
// The host editor's extensibility root, as the add-ins reach it. Every member may fail;
// a failure carries a description callers can show. Objects handed out are shared: they
// remain valid while held, and the host returns the same object for the same thing each
// time (callers may compare pointers).

#include <memory>
#include <string>

#include "host/addins.h"
#include "host/bitmap.h"
#include "host/code_module.h"
#include "host/code_pane.h"
#include "host/command_bars.h"
#include "host/vb_project.h"
#include "base/result.h"

namespace trawlex::host {

class HostApp {
  public:
    virtual ~HostApp() = default;

    // The focused code pane; nullptr when none is active.
    virtual Result<std::shared_ptr<CodePane>> ActiveCodePane() = 0;
    virtual Result<std::shared_ptr<host::CodePanes>> CodePanes() = 0;
    // The project of the active pane (or the one chosen in the host); nullptr when none.
    virtual Result<std::shared_ptr<VBProject>> ActiveVBProject() = 0;
    virtual Result<std::shared_ptr<host::CommandBars>> CommandBars() = 0;
    virtual Result<std::shared_ptr<host::Events>> Events() = 0;
    virtual Result<std::shared_ptr<host::Addins>> Addins() = 0;

    // The folder the user last opened a project from. The Visual Basic 6.0 environment
    // has one; the Office editor has none and fails.
    virtual Result<std::string> LastUsedPath() const = 0;
    // The root object's default value: a non-empty text (the environment's name) only in
    // the Visual Basic 6.0 environment; the Office editor gives an empty text or fails.
    virtual Result<std::string> DefaultValue() const = 0;

    // The picture on the clipboard, where a control's PasteFace takes its face from.
    virtual Status SetClipboardPicture(const Bitmap& picture) = 0;
    // Fails when the clipboard holds no picture.
    virtual Result<Bitmap> ClipboardPicture() const = 0;
};

}  // namespace trawlex::host
