#include "search/proc_locator.h"

#include <optional>
#include <utility>

namespace trawlex {
namespace {

constexpr std::string_view kDeclarations = "(Declarations)";
constexpr std::size_t kNotFound = std::string_view::npos;

// The rules replace every keyword of a group by one replacement ("Sub ", "End Sub", "'")
// and take the first replacement in the result. Every replacement produces that text, so
// nothing in front of the first hit has been replaced: its position in the rewritten line
// is the position of the earliest keyword of the group in the line itself. The keywords
// of a group cannot overlap or be created by a replacement, so finding the earliest
// keyword is exactly equivalent and needs no copy of the line. Offsets are bytes; the
// rules only compare positions, and UTF-8 byte offsets keep the order of characters.

// Earliest "Sub ", "Function " or "Property ", found through the space that ends it:
// keywords hold no other space, so the earliest keyword ends at the earliest such space.
std::size_t FirstProcKeyword(std::string_view line) {
    for (std::size_t space = line.find(' ', 3); space != kNotFound;
         space = line.find(' ', space + 1)) {
        const std::string_view head = line.substr(0, space);
        switch (head.back()) {
            case 'b':
                if (head.ends_with("Sub")) return space - 3;
                break;
            case 'n':
                if (head.ends_with("Function")) return space - 8;
                break;
            case 'y':
                if (head.ends_with("Property")) return space - 8;
                break;
        }
    }
    return kNotFound;
}

// Earliest "End Sub", "End Function" or "End Property".
std::size_t FirstEndKeyword(std::string_view line) {
    for (std::size_t end = line.find("End "); end != kNotFound; end = line.find("End ", end + 1)) {
        const std::string_view rest = line.substr(end + 4);
        if (rest.starts_with("Sub") || rest.starts_with("Function") ||
            rest.starts_with("Property")) {
            return end;
        }
    }
    return kNotFound;
}

// Whether the keyword at `pos` counts: the comment position c is 0 or lies behind it.
// "Rem" and "Declare " count as comment marks like "'", wherever they stand.
bool BeforeComment(std::string_view line, std::size_t pos) {
    for (std::size_t i = 0; i < pos; ++i) {
        switch (line[i]) {
            case '\'':
                return false;
            case 'R':
                if (line.substr(i).starts_with("Rem")) return false;
                break;
            case 'D':
                if (line.substr(i).starts_with("Declare ")) return false;
                break;
        }
    }
    return true;
}

const char* ScopeWord(std::string_view line) {
    if (line.find("Private ") != kNotFound) return "Private";
    if (line.find("Public ") != kNotFound) return "Public";
    if (line.find("Friend ") != kNotFound) return "Friend";
    return "Global";
}

}  // namespace

bool ProcState::Inside() const {
    // Inside when something is left after removing every "(Declarations)" from the name.
    if (name.size() < kDeclarations.size()) return !name.empty();
    const std::string_view text = name;
    std::size_t removed = 0;
    for (std::size_t at = text.find(kDeclarations); at != kNotFound;
         at = text.find(kDeclarations, at + kDeclarations.size())) {
        removed += kDeclarations.size();
    }
    return name.size() > removed;
}

namespace {

// Where the name cut by the start test stands in `line`, or nothing when the test does not fire.
std::optional<std::pair<std::size_t, std::size_t>> StartName(std::string_view line) {
    const std::size_t s = FirstProcKeyword(line);
    if (s == kNotFound || !BeforeComment(line, s)) return std::nullopt;

    // The keyword ends at the first space at or after s; the name follows it.
    const std::size_t d = line.find(' ', s) + 1;
    const std::size_t paren = line.find('(', d);
    // No "(" after the keyword (e.g. "Dim mySub As Long"): no name to cut, so not a start.
    if (paren == kNotFound) return std::nullopt;
    return std::pair{d, paren - d};
}

}  // namespace

void ApplyStartTest(ProcState& state, std::string_view line) {
    const auto name = StartName(line);
    if (!name) return;
    state.scope = ScopeWord(line);
    state.name.assign(line.substr(name->first, name->second));
}

bool OpensProcedure(std::string_view line) {
    // The name holds no "(", so a name that is not empty is never taken for "(Declarations)".
    const auto name = StartName(line);
    return name && name->second > 0;
}

bool ClosesProcedure(std::string_view line) {
    const std::size_t e = FirstEndKeyword(line);
    return e != kNotFound && BeforeComment(line, e);
}

void ApplyEndTest(ProcState& state, std::string_view line) {
    if (!ClosesProcedure(line)) return;
    state.name.clear();
    state.scope.clear();
}

}  // namespace trawlex
