#pragma once
// Reads VB source lines as the compiler sees them: line continuations, comments, string
// and date literals, statements separated by ":", and procedure headers and ends.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/code_module.h"

namespace trawlex::host {

// True when the physical line ends with a line continuation: " _" (blanks may follow).
bool EndsWithContinuation(std::string_view line);

// The statements of a logical line, without comments, each trimmed; empty statements are
// dropped. A line holding only a comment gives none.
std::vector<std::string> SplitStatements(std::string_view logicalLine);

struct ProcHeader {
    std::string name;
    ProcKind kind = vbext_pk_Proc;
};

// [Public|Private|Friend] [Static] Sub|Function|Property Get|Let|Set name..., matched
// without regard to case. Declare statements and events are not procedures.
std::optional<ProcHeader> ParseProcHeader(std::string_view statement);

// End Sub, End Function or End Property.
bool IsProcEnd(std::string_view statement);

// A #Const directive.
bool IsCompilerConstant(std::string_view statement);

// ASCII case-insensitive equality, as VB compares identifiers.
bool SameIdentifier(std::string_view a, std::string_view b);

}  // namespace trawlex::host
