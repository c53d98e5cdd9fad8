#pragma once
// Regular expressions in a dialect close to VBScript's RegExp, on PCRE2 (UTF-8, JIT):
// \w \d \b are ASCII only, \uHHHH is a code point, "[]" never matches, a back reference to
// an unset group matches the empty string, "$" matches only at the very end and "." does
// not match CR or LF. Bytes that are not valid UTF-8 match nothing, but the rest of the
// subject is still searched. A compiled pattern is not safe to share between threads.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace trawlex {

class CompiledRegex {
  public:
    // nullptr when the pattern is invalid. `multiline` lets "^" and "$" match at line breaks.
    static std::shared_ptr<CompiledRegex> Compile(std::string_view pattern, bool caseless,
                                                  bool multiline);
    ~CompiledRegex();
    CompiledRegex(const CompiledRegex&) = delete;
    CompiledRegex& operator=(const CompiledRegex&) = delete;

    // PCRE2's message for an invalid pattern (with the offset); empty for a valid one.
    static std::string ErrorOf(std::string_view pattern, bool caseless);

    enum class FindResult { Found, NotFound, Failed };
    // Whether the pattern matches somewhere in `subject`; Failed when the work allowed for
    // one line (a few milliseconds) ran out first.
    FindResult TestLine(std::string_view subject) const;
    // TestLine with a failure counted as no match.
    bool Test(std::string_view subject) const;

    // The start of the leftmost match that starts at or after `from`. The work allowed
    // grows with the subject's length.
    FindResult Find(std::string_view subject, std::size_t from, std::size_t& match_start) const;

    // The leftmost match that starts at or after `from`: where capture `group` (0 for the
    // whole match) begins and ends. An unset group gives an empty span at the match start.
    FindResult FindSpan(std::string_view subject, std::size_t from, unsigned group,
                        std::size_t& begin, std::size_t& end) const;

  private:
    struct Handles;
    FindResult Match(std::string_view subject, std::size_t from, std::size_t& match_start,
                     std::size_t allowances) const;
    explicit CompiledRegex(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> handles_;
};

// Whether matching `pattern` over a whole multi-line text (compiled with `multiline`) finds
// a match starting at the same place for every line that matches on its own. False for
// constructs that look beyond the line they start in (\A \z \Z \G, lookarounds and other
// "(?" groups, verbs, possessive quantifiers, \K); the answer errs on the side of false.
bool RegexIsLineLocal(std::string_view pattern);

// The longest run of ASCII characters that every match of `pattern` holds, as written when
// compiled case-sensitive, else in any letter case; empty when none can be told for sure.
// Only characters outside groups and classes count; a quantified character, an escape or
// any other construct ends a run. Patterns with an alternation outside groups, option
// settings, verbs or quoting give nothing.
std::string RegexRequiredLiteral(std::string_view pattern);

}  // namespace trawlex
