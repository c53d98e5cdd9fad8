#pragma once
// An open code window of the host and the selection in it.

#include <memory>

#include "host/code_module.h"
#include "base/result.h"

namespace trawlex::host {

// Lines are 1-based; columns are 1-based and counted in bytes of the line in the system
// ANSI code page (a double-byte character counts 2). The end column is the column just
// after the last selected byte, so an empty selection has start column == end column.
struct Selection {
    int startLine = 1;
    int startColumn = 1;
    int endLine = 1;
    int endColumn = 1;
    bool operator==(const Selection&) const = default;
};

// The window a code pane is shown in.
class Window {
  public:
    virtual ~Window() = default;
    virtual Status SetFocus() = 0;
};

// A pane stays a valid object while held; once the host closes it, its members fail.
class CodePane {
  public:
    virtual ~CodePane() = default;

    virtual Result<Selection> GetSelection() const = 0;
    // Fails for lines outside the module.
    virtual Status SetSelection(const Selection& selection) = 0;
    // Opens the pane if needed and makes it the active one.
    virtual Status Show() = 0;
    virtual Result<std::shared_ptr<host::Window>> Window() = 0;
    // The same module object the component returns, so callers may compare pointers.
    virtual Result<std::shared_ptr<host::CodeModule>> CodeModule() = 0;
};

// The host's open code panes in host order.
class CodePanes {
  public:
    virtual ~CodePanes() = default;
    virtual Result<int> Count() const = 0;
    // 1-based; fails outside 1..Count.
    virtual Result<std::shared_ptr<CodePane>> Item(int index) = 0;
};

}  // namespace trawlex::host
