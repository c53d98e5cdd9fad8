#pragma once
// Tracks the procedure that encloses each line of a text, from keywords in the text itself.

#include <string>
#include <string_view>

namespace trawlex {

struct ProcState {
    std::string name = "(Declarations)";
    std::string scope;
    // Outside: the name is "(Declarations)" or empty.
    bool Inside() const;
};

// Applied before the match test while outside a procedure.
void ApplyStartTest(ProcState& state, std::string_view line);
// Applied after the match test while inside a procedure.
void ApplyEndTest(ProcState& state, std::string_view line);

// Whether the start test on `line` would leave the state inside a procedure (it fires and
// cuts a name that is not empty).
bool OpensProcedure(std::string_view line);
// Whether the end test on `line` fires: after such a line the state is outside, whatever it
// was before.
bool ClosesProcedure(std::string_view line);

}  // namespace trawlex
