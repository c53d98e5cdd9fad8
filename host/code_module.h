#pragma once
// A code module of the host: its text and the procedures in it. Lines are 1-based.

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::host {

// The host's procedure kinds (vbext_ProcKind).
enum ProcKind : int {
    vbext_pk_Proc = 0,  // Sub or Function
    vbext_pk_Let = 1,
    vbext_pk_Set = 2,
    vbext_pk_Get = 3,
};

// What ProcOfLine reports: the procedure holding a line (empty name in the declarations
// section) and that procedure's kind.
struct ProcRef {
    std::string name;
    ProcKind kind = vbext_pk_Proc;
    bool operator==(const ProcRef&) const = default;
};

class CodeModule {
  public:
    virtual ~CodeModule() = default;

    virtual Result<std::string> Name() const = 0;
    virtual Result<int> CountOfLines() const = 0;
    virtual Result<int> CountOfDeclarationLines() const = 0;
    // `count` lines from `first`, joined by CR LF. A count of 0 gives an empty text; a count
    // reaching past the end gives the lines up to the end; a first line outside the module,
    // or a negative count, fails.
    virtual Result<std::string> Lines(int first, int count) const = 0;
    // The procedure holding `line`, with its kind; an empty name for the declarations
    // section. Fails for a line outside the module.
    virtual Result<ProcRef> ProcOfLine(int line) const = 0;
    // First line of the procedure `name` of kind `kind`, with the blank and comment lines
    // before it; fails when the module has no procedure of that name and kind.
    virtual Result<int> ProcStartLine(std::string_view name, ProcKind kind) const = 0;
    // Lines from ProcStartLine to the procedure's End statement.
    virtual Result<int> ProcCountLines(std::string_view name, ProcKind kind) const = 0;
    // Replaces one line. A text holding line breaks becomes that many lines. Fails for a
    // line outside the module or a module the host does not let change.
    virtual Status ReplaceLine(int line, std::string_view text) = 0;
};

}  // namespace trawlex::host
