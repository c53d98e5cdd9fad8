#include "search/like_pattern.h"

#include "base/utf8_codec.h"

namespace trawlex {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

}  // namespace

std::optional<LikePattern> LikePattern::Compile(std::string_view pattern) {
    LikePattern compiled;
    std::string literal_run;
    const auto end_literal_run = [&] {
        if (literal_run.size() > compiled.required_literal_.size()) {
            compiled.required_literal_ = literal_run;
        }
        literal_run.clear();
    };
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        const char32_t ch = utf8::Next(pattern, pos);
        Token token{Token::Literal};
        if (ch == U'?') {
            token.kind = Token::AnyChar;
        } else if (ch == U'#') {
            token.kind = Token::Digit;
        } else if (ch == U'*') {
            token.kind = Token::Star;
            if (!compiled.tokens_.empty() && compiled.tokens_.back().kind == Token::Star) continue;
        } else if (ch == U'[') {
            token.kind = Token::List;
            token.list_begin = static_cast<unsigned>(compiled.set_items_.size());
            bool closed = false;
            bool first = true;
            while (pos < pattern.size()) {
                char32_t item = utf8::Next(pattern, pos);
                if (item == U']') {
                    closed = true;
                    break;
                }
                if (first && item == U'!' && !token.negated) {
                    token.negated = true;
                    continue;  // still at the start of the list
                }
                first = false;
                char32_t high = item;
                // "a-z" is a range unless the hyphen closes the list.
                std::size_t after_hyphen = pos;
                if (pos < pattern.size() && utf8::Next(pattern, after_hyphen) == U'-' &&
                    after_hyphen < pattern.size()) {
                    std::size_t after_high = after_hyphen;
                    const char32_t candidate = utf8::Next(pattern, after_high);
                    if (candidate != U']') {
                        if (candidate < item) return std::nullopt;
                        high = candidate;
                        pos = after_high;
                    }
                }
                compiled.set_items_.push_back(item);
                compiled.set_items_.push_back(high);
            }
            if (!closed) return std::nullopt;
            token.list_end = static_cast<unsigned>(compiled.set_items_.size());
            if (token.list_begin == token.list_end && !token.negated) {
                end_literal_run();
                continue;  // "[]" stands for the empty string
            }
        } else {
            token.ch = ch;
            utf8::Append(literal_run, ch);
            compiled.tokens_.push_back(token);
            continue;
        }
        end_literal_run();
        compiled.tokens_.push_back(token);
    }
    end_literal_run();
    return compiled;
}

bool LikePattern::InList(const Token& token, char32_t ch) const {
    bool found = false;
    for (unsigned i = token.list_begin; i < token.list_end && !found; i += 2) {
        found = ch >= set_items_[i] && ch <= set_items_[i + 1];
    }
    return found != token.negated;
}

bool LikePattern::Matches(std::string_view text) const {
    const auto matches_one = [&](const Token& token, char32_t ch) {
        switch (token.kind) {
            case Token::Literal:
                return ch == token.ch;
            case Token::AnyChar:
                return true;
            case Token::Digit:
                return ch >= U'0' && ch <= U'9';
            case Token::List:
                return InList(token, ch);
            case Token::Star:
                break;
        }
        return false;
    };
    // Every token but the star takes exactly one character, so remembering only the last
    // star is enough: retrying an earlier star can never succeed where the last one failed.
    std::size_t at = 0;
    std::size_t tok = 0;
    std::size_t star_tok = kNone;
    std::size_t star_at = 0;
    while (at < text.size()) {
        if (tok < tokens_.size()) {
            if (tokens_[tok].kind == Token::Star) {
                star_tok = ++tok;
                star_at = at;
                continue;
            }
            std::size_t next = at;
            if (matches_one(tokens_[tok], utf8::Next(text, next))) {
                at = next;
                ++tok;
                continue;
            }
        }
        if (star_tok == kNone) return false;
        utf8::Next(text, star_at);  // let the star take one more character
        at = star_at;
        tok = star_tok;
    }
    while (tok < tokens_.size() && tokens_[tok].kind == Token::Star) ++tok;
    return tok == tokens_.size();
}

std::optional<bool> LikeMatch(std::string_view text, std::string_view pattern) {
    const std::optional<LikePattern> compiled = LikePattern::Compile(pattern);
    if (!compiled) return std::nullopt;
    return compiled->Matches(text);
}

}  // namespace trawlex
