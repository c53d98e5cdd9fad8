#include "search/regex_cache.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <limits>

namespace trawlex {

namespace {

// Work allowed for testing one line: a failing line costs a few milliseconds at most.
constexpr std::size_t kLineMatchLimit = 1'000'000;
constexpr uint32_t kDepthLimit = 10'000;
// A pattern the JIT cannot take (a very long one) runs in the interpreter, where a single
// step can cost as much as the pattern is long; there every item of the pattern calls out,
// and the number of calls is what is bounded.
constexpr std::size_t kLineCalloutLimit = 200'000;

}  // namespace

struct CompiledRegex::Handles {
    pcre2_code* code = nullptr;
    std::size_t callouts = 0;       // in the interpreter: items tried in the current match
    std::size_t callout_limit = 0;  // and how many it may try
    pcre2_match_data* match_data = nullptr;
    pcre2_match_context* match_context = nullptr;
    pcre2_jit_stack* jit_stack = nullptr;
    ~Handles() {
        pcre2_jit_stack_free(jit_stack);
        pcre2_match_context_free(match_context);
        pcre2_match_data_free(match_data);
        pcre2_code_free(code);
    }
};

CompiledRegex::CompiledRegex(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
CompiledRegex::~CompiledRegex() = default;

namespace {

using CompileContext =
    std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)>;

struct CompileOutcome {
    pcre2_code* code = nullptr;
    int error = 0;
    PCRE2_SIZE error_offset = 0;
};

CompileOutcome CompileCode(std::string_view pattern, bool caseless, bool multiline, bool callouts) {
    CompileOutcome outcome;
    CompileContext context(pcre2_compile_context_create(nullptr), &pcre2_compile_context_free);
    if (!context) {
        outcome.error = PCRE2_ERROR_NOMEMORY;
        return outcome;
    }
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    // MATCH_INVALID_UTF: no up-front check of every subject, and invalid bytes cannot
    // derail the matcher.
    uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_ALT_BSUX |
                       PCRE2_ALLOW_EMPTY_CLASS | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
    if (caseless) options |= PCRE2_CASELESS;
    // "^" also after a line break that ends the text, where the text's final empty line is.
    if (multiline) options |= PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX;
    if (callouts) options |= PCRE2_AUTO_CALLOUT;
    outcome.code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                 options, &outcome.error, &outcome.error_offset, context.get());
    return outcome;
}

}  // namespace

std::shared_ptr<CompiledRegex> CompiledRegex::Compile(std::string_view pattern, bool caseless,
                                                      bool multiline) {
    auto handles = std::make_unique<Handles>();
    handles->code = CompileCode(pattern, caseless, multiline, false).code;
    if (!handles->code) return nullptr;
    const bool jit = pcre2_jit_compile(handles->code, PCRE2_JIT_COMPLETE) == 0;
    if (!jit) {
        // The interpreter runs the same pattern, only slower; its work is counted by callouts.
        pcre2_code_free(handles->code);
        handles->code = CompileCode(pattern, caseless, multiline, true).code;
        if (!handles->code) return nullptr;
    }
    handles->match_data = pcre2_match_data_create_from_pattern(handles->code, nullptr);
    handles->match_context = pcre2_match_context_create(nullptr);
    if (!handles->match_data || !handles->match_context) return nullptr;
    pcre2_set_depth_limit(handles->match_context, kDepthLimit);
    if (jit) {
        handles->jit_stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
        if (handles->jit_stack) {
            pcre2_jit_stack_assign(handles->match_context, nullptr, handles->jit_stack);
        }
    } else {
        const auto count = [](pcre2_callout_block*, void* data) {
            Handles& counted = *static_cast<Handles*>(data);
            return ++counted.callouts > counted.callout_limit ? PCRE2_ERROR_MATCHLIMIT : 0;
        };
        pcre2_set_callout(handles->match_context, count, handles.get());
    }
    return std::shared_ptr<CompiledRegex>(new CompiledRegex(std::move(handles)));
}

std::string CompiledRegex::ErrorOf(std::string_view pattern, bool caseless) {
    const CompileOutcome outcome = CompileCode(pattern, caseless, false, false);
    if (outcome.code) {
        pcre2_code_free(outcome.code);
        return {};
    }
    std::array<PCRE2_UCHAR, 256> message{};
    if (pcre2_get_error_message(outcome.error, message.data(), message.size()) < 0) {
        return "error " + std::to_string(outcome.error);
    }
    return std::string(reinterpret_cast<const char*>(message.data())) + " (at offset " +
           std::to_string(outcome.error_offset) + ")";
}

CompiledRegex::FindResult CompiledRegex::TestLine(std::string_view subject) const {
    std::size_t start = 0;
    return Match(subject, 0, start, 1);
}

bool CompiledRegex::Test(std::string_view subject) const {
    return TestLine(subject) == FindResult::Found;
}

CompiledRegex::FindResult CompiledRegex::Find(std::string_view subject, std::size_t from,
                                              std::size_t& match_start) const {
    // A whole text may take one line's allowance for every kilobyte it holds.
    return Match(subject, from, match_start, 1 + subject.size() / 1024);
}

CompiledRegex::FindResult CompiledRegex::Match(std::string_view subject, std::size_t from,
                                               std::size_t& match_start,
                                               std::size_t allowances) const {
    // A null pointer is not a valid empty subject for every PCRE2 version.
    static constexpr char kEmpty[] = "";
    const char* data = subject.data() ? subject.data() : kEmpty;
    constexpr std::size_t kMaxLimit = std::numeric_limits<uint32_t>::max();
    pcre2_set_match_limit(handles_->match_context,
                          static_cast<uint32_t>(std::min(kLineMatchLimit * allowances, kMaxLimit)));
    handles_->callouts = 0;
    handles_->callout_limit = kLineCalloutLimit * allowances;
    const int rc = pcre2_match(handles_->code, reinterpret_cast<PCRE2_SPTR>(data), subject.size(),
                               from, 0, handles_->match_data, handles_->match_context);
    if (rc == PCRE2_ERROR_NOMATCH) return FindResult::NotFound;
    if (rc < 0) return FindResult::Failed;
    match_start = pcre2_get_ovector_pointer(handles_->match_data)[0];
    return FindResult::Found;
}

CompiledRegex::FindResult CompiledRegex::FindSpan(std::string_view subject, std::size_t from,
                                                  unsigned group, std::size_t& begin,
                                                  std::size_t& end) const {
    const FindResult found = Find(subject, from, begin);
    if (found != FindResult::Found) return found;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(handles_->match_data);
    end = ovector[1];
    if (group == 0) return found;
    if (group >= pcre2_get_ovector_count(handles_->match_data) ||
        ovector[2 * group] == PCRE2_UNSET) {
        end = begin;
        return found;
    }
    begin = ovector[2 * group];
    end = ovector[2 * group + 1];
    return found;
}

bool RegexIsLineLocal(std::string_view pattern) {
    static constexpr std::array<std::string_view, 11> kNonLocal = {
        "\\A", "\\z", "\\Z", "\\G", "\\K", "(*", "*+", "++", "?+", "}+", "(?<",
    };
    for (std::string_view construct : kNonLocal) {
        if (pattern.find(construct) != std::string_view::npos) return false;
    }
    // Of the "(?" groups only the plain non-capturing one is local.
    for (std::size_t at = pattern.find("(?"); at != std::string_view::npos;
         at = pattern.find("(?", at + 2)) {
        if (pattern.substr(at, 3) != "(?:") return false;
    }
    return true;
}

namespace {

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The end of the character class that starts at `open` ("["), just past its "]"; npos
// when it is not closed. "[]" and "[^]" are whole classes (ALLOW_EMPTY_CLASS).
std::size_t ClassEnd(std::string_view pattern, std::size_t open) {
    std::size_t i = open + 1;
    if (i < pattern.size() && pattern[i] == '^') ++i;
    while (i < pattern.size()) {
        if (pattern[i] == ']') return i + 1;
        if (pattern[i] == '\\') {
            i += 2;
        } else if (pattern.substr(i, 2) == "[:") {
            const std::size_t close = pattern.find(":]", i + 2);
            if (close == std::string_view::npos) return std::string_view::npos;
            i = close + 2;
        } else {
            ++i;
        }
    }
    return std::string_view::npos;
}

// Just past the counted quantifier ("{2}", "{1,3}", "{2,}") that starts at `open`; npos
// when "{" starts none (it is a literal then).
std::size_t QuantifierEnd(std::string_view pattern, std::size_t open) {
    const std::size_t close = pattern.find('}', open);
    if (close == std::string_view::npos || close == open + 1) return std::string_view::npos;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (!(pattern[i] >= '0' && pattern[i] <= '9') && pattern[i] != ',' && pattern[i] != ' ') {
            return std::string_view::npos;
        }
    }
    return close + 1;
}

}  // namespace

std::string RegexRequiredLiteral(std::string_view pattern) {
    for (std::string_view construct : {"(?", "(*", "\\Q"}) {
        if (pattern.find(construct) != std::string_view::npos) return {};
    }
    std::string best;
    std::string run;
    const auto end_run = [&] {
        if (run.size() > best.size()) best = run;
        run.clear();
    };
    int depth = 0;
    std::size_t i = 0;
    const std::size_t n = pattern.size();
    while (i < n) {
        const char c = pattern[i];
        if (static_cast<unsigned char>(c) >= 0x80) {  // kept out of the run, not skipped
            end_run();
            ++i;
            continue;
        }
        switch (c) {
            case '\\': {
                if (i + 1 >= n) return {};
                const char escaped = pattern[i + 1];
                i += 2;
                if (IsAsciiAlnum(escaped) || static_cast<unsigned char>(escaped) >= 0x80) {
                    // An escape sequence: its arguments ("\x{41}", "\k<name>", "\cX") go too.
                    end_run();
                    if (escaped == 'c') {
                        if (i >= n) return {};
                        ++i;
                    }
                    while (i < n && (IsAsciiAlnum(pattern[i]) ||
                                     std::string_view("{}<>'_+-").find(pattern[i]) !=
                                         std::string_view::npos)) {
                        ++i;
                    }
                } else if (depth == 0) {
                    run.push_back(escaped);
                } else {
                    end_run();
                }
                continue;
            }
            case '[': {
                end_run();
                const std::size_t end = ClassEnd(pattern, i);
                if (end == std::string_view::npos) return {};
                i = end;
                continue;
            }
            case '(':
                end_run();
                ++depth;
                break;
            case ')':
                end_run();
                if (--depth < 0) return {};
                break;
            case '|':
                if (depth == 0) return {};
                end_run();
                break;
            case '{': {
                const std::size_t end = QuantifierEnd(pattern, i);
                if (end == std::string_view::npos) {
                    end_run();  // a literal "{"; a run may start again after it
                    break;
                }
                if (!run.empty()) run.pop_back();
                end_run();
                i = end;
                continue;
            }
            case '*':
            case '?':
                if (!run.empty()) run.pop_back();  // the character before may be absent
                end_run();
                break;
            case '+':
            case '.':
            case '^':
            case '$':
                end_run();
                break;
            default:
                if (depth == 0) {
                    run.push_back(c);
                } else {
                    end_run();
                }
                break;
        }
        ++i;
    }
    if (depth != 0) return {};
    end_run();
    return best;
}

}  // namespace trawlex
