#include "search/proc_locator.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace trawlex {
namespace {

constexpr std::string_view kDeclarations = "(Declarations)";
constexpr std::size_t kNotFound = std::string_view::npos;

// Offset of the earliest occurrence of any of `keywords` in `line` that starts before
// `limit`, or npos.
//
// The rules replace every keyword of a group by the same replacement and then look for the
// first replacement in the result. Every replacement produces the searched text, so nothing
// in front of the first hit has been replaced and the hit's position in the rewritten line
// equals the position of the earliest keyword in the original one. None of the keyword
// groups can overlap or be created by a replacement, so finding the earliest keyword is
// exactly equivalent and needs no copy of the line. Offsets are bytes; the rules only
// compare positions, and UTF-8 byte offsets keep the order of character positions.
std::size_t FirstOf(std::string_view line, std::initializer_list<std::string_view> keywords,
                    std::size_t limit = kNotFound) {
    std::size_t first = kNotFound;
    for (std::string_view keyword : keywords) {
        const std::size_t bound = first < limit ? first : limit;
        // Only occurrences that start before `bound` can improve on it.
        const std::size_t span =
            bound == kNotFound ? line.size() : std::min(line.size(), bound + keyword.size() - 1);
        const void* hit = memmem(line.data(), span, keyword.data(), keyword.size());
        if (hit != nullptr) first = static_cast<const char*>(hit) - line.data();
    }
    return first;
}

// A keyword at `pos` counts when the comment position c is 0 or lies behind it. "Rem" and
// "Declare " count as comment marks like "'", wherever they stand.
bool BeforeComment(std::string_view line, std::size_t pos) {
    return FirstOf(line, {"'", "Rem", "Declare "}, pos) == kNotFound;
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
    std::string_view rest = name;
    std::size_t removed = 0;
    for (std::size_t at = rest.find(kDeclarations); at != kNotFound;
         at = rest.find(kDeclarations, at + kDeclarations.size())) {
        removed += kDeclarations.size();
    }
    return name.size() > removed;
}

void ApplyStartTest(ProcState& state, std::string_view line) {
    const std::size_t s = FirstOf(line, {"Sub ", "Function ", "Property "});
    if (s == kNotFound || !BeforeComment(line, s)) return;

    // The keyword ends at the first space at or after s; the name follows it.
    const std::size_t d = line.find(' ', s) + 1;
    const std::size_t paren = line.find('(', d);
    // No "(" after the keyword (e.g. "Dim mySub As Long"): no name to cut, so not a start.
    if (paren == kNotFound) return;

    state.scope = ScopeWord(line);
    state.name.assign(line.substr(d, paren - d));
}

void ApplyEndTest(ProcState& state, std::string_view line) {
    const std::size_t e = FirstOf(line, {"End Sub", "End Function", "End Property"});
    if (e == kNotFound || !BeforeComment(line, e)) return;
    state.name.clear();
    state.scope.clear();
}

}  // namespace trawlex
