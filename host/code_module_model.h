#pragma once
// The text of a VB code module and the procedures in it, found by reading the code the way
// the VB IDE does. Shared by every host.
//
// Procedure boundaries:
// - A procedure's header is [Public|Private|Friend|Global] [Static] Sub|Function|
//   Property Get|Let|Set name(...), matched without regard to case; it ends at the line
//   holding End Sub|Function|Property. Comments and string literals are not code, " _"
//   joins lines, ":" separates statements (so "Sub Foo(): End Sub" is one procedure on one
//   line), and Declare statements are not procedures.
// - A procedure starts on the line after the previous procedure's End line (for the first
//   one, after the declarations), so the blank and comment lines before its header belong
//   to it.
// - The declarations section ends on the last line holding code (not blank, not only a
//   comment, not a #Const directive) before the first procedure's header: comments and
//   compiler constants in front of the first procedure belong to it, as in the IDE. A module
//   without procedures is all declarations up to its last non-blank line.
// - Lines after the last procedure's End line are reported by ProcOfLine as that
//   procedure's (the IDE shows them under it), but are not counted by ProcCountLines.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "host/code_module.h"

namespace trawlex::host {

class CodeModuleModel {
  public:
    CodeModuleModel() = default;
    explicit CodeModuleModel(std::vector<std::string> lines);
    // Splits at CR LF, LF or a lone CR. A final line break does not start another line.
    static CodeModuleModel FromText(std::string_view text);

    const std::vector<std::string>& AllLines() const { return lines_; }
    void SetLines(std::vector<std::string> lines);
    // All lines joined by CR LF.
    std::string Text() const;

    int CountOfLines() const { return static_cast<int>(lines_.size()); }
    int CountOfDeclarationLines() const;
    Result<std::string> Lines(int first, int count) const;
    Result<ProcRef> ProcOfLine(int line) const;
    Result<int> ProcStartLine(std::string_view name, ProcKind kind) const;
    Result<int> ProcCountLines(std::string_view name, ProcKind kind) const;
    Status ReplaceLine(int line, std::string_view text);

    // One procedure as found in the text; lines are 1-based.
    struct Procedure {
        std::string name;
        ProcKind kind = vbext_pk_Proc;
        int startLine = 0;   // first line, leading blank and comment lines included
        int headerLine = 0;  // line of the Sub/Function/Property statement
        int endLine = 0;     // line of the End statement
    };
    const std::vector<Procedure>& Procedures() const;

  private:
    const Procedure* Find(std::string_view name, ProcKind kind) const;

    std::vector<std::string> lines_;
    mutable bool parsed_ = false;
    mutable std::vector<Procedure> procedures_;
    mutable int declarationLines_ = 0;
};

}  // namespace trawlex::host
