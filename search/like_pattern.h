#pragma once
// The VB `Like` operator with binary compare, character by character (code points).
//   ?  any one character          *  any run of characters, also none
//   #  one digit 0-9              [list] one character of the list, [!list] one not in it
// A list holds characters and ascending ranges (a-z); "-" is literal at the start or end of
// a list, "[" "*" "?" "#" are literal inside one, "]" and "!" are literal outside. "[]" stands
// for nothing. An unclosed "[" or a descending range is an invalid pattern.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trawlex {

class LikePattern {
  public:
    // nullopt when the pattern is invalid.
    static std::optional<LikePattern> Compile(std::string_view pattern);

    // True when the pattern covers the whole of `text`.
    bool Matches(std::string_view text) const;

    // The longest run of characters that every matching text holds as is (UTF-8); empty when
    // the pattern has no literal characters. Lets a caller skip texts cheaply.
    const std::string& RequiredLiteral() const { return required_literal_; }

    struct Token {
        enum Kind : unsigned char { Literal, AnyChar, Digit, Star, List } kind;
        bool negated = false;     // [!list]
        char32_t ch = 0;          // Literal
        unsigned list_begin = 0;  // List: its ranges in set_items_
        unsigned list_end = 0;
    };

  private:
    bool InList(const Token& token, char32_t ch) const;
    std::vector<Token> tokens_;
    std::vector<char32_t> set_items_;  // ranges of all lists, as (low, high) pairs
    std::string required_literal_;
};

// Convenience: nullopt when the pattern is invalid, else whether `text` matches it.
std::optional<bool> LikeMatch(std::string_view text, std::string_view pattern);

}  // namespace trawlex
