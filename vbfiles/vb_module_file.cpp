#include "vbfiles/vb_module_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>

#include "base/ascii_case.h"
#include "base/text_decode.h"
#include "base/utf16_codec.h"
#include "base/utf8_codec.h"

namespace trawlex {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    return s.substr(i);
}

bool IsWordChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || u >= 0x80;
}

// Splits a line into identifier-like words, stopping at a comment or string.
std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '\'' || s[i] == '"') break;
        if (!IsWordChar(s[i])) {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < s.size() && IsWordChar(s[i])) ++i;
        words.push_back(s.substr(start, i - start));
    }
    return words;
}

std::string_view FirstWord(std::string_view line) {
    auto words = Words(TrimLeft(line));
    return words.empty() ? std::string_view{} : words.front();
}

// "Attribute Name.VB_..." inside the code.
bool IsMemberAttribute(std::string_view line) {
    auto t = TrimLeft(line);
    if (!StartsWithIgnoringCase(t, "Attribute ")) return false;
    t = TrimLeft(t.substr(10));
    std::size_t i = 0;
    while (i < t.size() && IsWordChar(t[i])) ++i;
    return i > 0 && StartsWithIgnoringCase(t.substr(i), ".VB_");
}

std::string MemberOfAttribute(std::string_view line) {
    auto t = TrimLeft(TrimLeft(line).substr(10));
    std::size_t i = 0;
    while (i < t.size() && IsWordChar(t[i])) ++i;
    return std::string(t.substr(0, i));
}

// Whether `line` declares `member` (a procedure, event or variable of that name).
bool DeclaresMember(std::string_view line, std::string_view member) {
    static constexpr std::string_view kLead[] = {
        "Public",   "Private", "Friend", "Global", "Static", "Dim",        "Sub",  "Function",
        "Property", "Get",     "Let",    "Set",    "Event",  "WithEvents", "Const"};
    auto words = Words(TrimLeft(line));
    bool sawLead = false;
    for (auto w : words) {
        bool lead = std::any_of(std::begin(kLead), std::end(kLead),
                                [&](std::string_view k) { return EqualsIgnoringCase(w, k); });
        if (lead) {
            sawLead = true;
            continue;
        }
        return sawLead && EqualsIgnoringCase(w, member);
    }
    return false;
}

std::string QuotedValue(std::string_view line) {
    auto open = line.find('"');
    if (open == std::string_view::npos) return {};
    auto close = line.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(line.substr(open + 1, close - open - 1));
}

bool EndsWithContinuation(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line.size() >= 2 && line.back() == '_' &&
           (line[line.size() - 2] == ' ' || line[line.size() - 2] == '\t');
}

// Number of leading lines that form the designer block: VERSION, Object = ... lines and a
// balanced Begin ... End block. An unbalanced block is left visible.
std::size_t DesignerBlockLength(const std::vector<std::string>& lines) {
    if (lines.empty() || !EqualsIgnoringCase(FirstWord(lines[0]), "VERSION")) return 0;
    std::size_t i = 1;
    while (i < lines.size() && EqualsIgnoringCase(FirstWord(lines[i]), "Object")) ++i;
    std::size_t head = i;
    int depth = 0;
    for (std::size_t k = i; k < lines.size(); ++k) {
        auto w = FirstWord(lines[k]);
        if (EqualsIgnoringCase(w, "Begin") || EqualsIgnoringCase(w, "BeginProperty")) {
            ++depth;
        } else if (EqualsIgnoringCase(w, "End") || EqualsIgnoringCase(w, "EndProperty")) {
            --depth;
        } else if (depth == 0) {
            return head;
        }
        if (depth == 0) return k + 1;
        if (depth < 0) return head;
    }
    return head;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text, std::vector<std::string>* eols) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        std::size_t len = (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        lines.emplace_back(text.substr(start, i - start));
        if (eols) eols->emplace_back(text.substr(i, len));
        i += len - 1;
        start = i + 1;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
        if (eols) eols->emplace_back();
    }
    return lines;
}

TextEncoding DetectTextEncoding(std::string_view bytes, EncodingChoice choice) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8Bom;
    if (bytes.starts_with(kUtf16LeBom)) return TextEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeBom)) return TextEncoding::Utf16Be;
    if (choice == EncodingChoice::Utf8) return TextEncoding::Utf8;
    if (choice == EncodingChoice::Cp932) return TextEncoding::Cp932;
    // The search's reading of the bytes decides, so that what is shown is what is saved.
    const bool utf8 = !IsAscii(bytes) && DetectByteEncoding(bytes) == ByteEncoding::Utf8;
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

VbModuleFile VbModuleFile::Parse(std::string_view bytes, EncodingChoice choice) {
    VbModuleFile f;
    f.original_ = std::string(bytes);
    f.encoding_ = DetectTextEncoding(bytes, choice);

    // BOMs decide for themselves; without one the bytes are read as detected, also when
    // they are decoded line by line below.
    const EncodingChoice reading =
        f.encoding_ == TextEncoding::Utf8 ? EncodingChoice::Utf8 : EncodingChoice::Cp932;
    std::string decoded = DecodeText(bytes, reading);
    if (std::string_view(decoded).starts_with(kUtf8Bom)) decoded.erase(0, kUtf8Bom.size());

    std::vector<std::string> eols;
    std::vector<std::string> texts = SplitLines(decoded, &eols);
    std::vector<std::string> raws;
    bool rawValid = f.encoding_ != TextEncoding::Utf16Le && f.encoding_ != TextEncoding::Utf16Be;
    if (rawValid) {
        std::string_view body = bytes;
        if (f.encoding_ == TextEncoding::Utf8Bom) body.remove_prefix(kUtf8Bom.size());
        std::vector<std::string> rawEols;
        raws = SplitLines(body, &rawEols);
        if (raws.size() != texts.size() || rawEols != eols) {
            // An undecodable byte swallowed a line end: decode line by line instead.
            texts.clear();
            for (const auto& r : raws) texts.push_back(DecodeText(r, reading));
            eols = std::move(rawEols);
        }
    }

    std::size_t hiddenTop = DesignerBlockLength(texts);
    while (hiddenTop < texts.size() &&
           StartsWithIgnoringCase(TrimLeft(texts[hiddenTop]), "Attribute "))
        ++hiddenTop;

    std::map<std::string, int> eolCount;
    f.physical_.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        PhysicalLine line;
        line.text = std::move(texts[i]);
        line.eol = std::move(eols[i]);
        line.rawValid = rawValid;
        if (rawValid) line.raw = std::move(raws[i]);
        line.hidden = i < hiddenTop || IsMemberAttribute(line.text);
        if (line.hidden) {
            line.anchor = static_cast<int>(f.visible_.size()) - 1;
            if (i < hiddenTop && f.name_.empty() &&
                StartsWithIgnoringCase(TrimLeft(line.text), "Attribute VB_Name"))
                f.name_ = QuotedValue(line.text);
        } else {
            f.visible_.push_back(line.text);
        }
        if (!line.eol.empty()) ++eolCount[line.eol];
        f.physical_.push_back(std::move(line));
    }
    int best = 0;
    for (const auto& [eol, n] : eolCount) {
        if (n > best) {
            best = n;
            f.dominantEol_ = eol;
        }
    }
    return f;
}

std::string VbModuleFile::VisibleText(std::string_view separator) const {
    std::string out;
    for (std::size_t i = 0; i < visible_.size(); ++i) {
        if (i) out += separator;
        out += visible_[i];
    }
    return out;
}

std::string VbModuleFile::Encode(std::string_view text) const {
    switch (encoding_) {
        case TextEncoding::Cp932:
            return EncodeCp932(text);
        case TextEncoding::Utf16Le:
            return EncodeUtf16(text, true);
        case TextEncoding::Utf16Be:
            return EncodeUtf16(text, false);
        default:
            return std::string(text);
    }
}

ModuleSaveData VbModuleFile::Serialize(const std::vector<std::string>& lines) const {
    ModuleSaveData out;
    if (lines == visible_) {
        out.bytes = original_;
        return out;
    }

    // Lines of the original code that are unchanged at the start and at the end.
    const std::size_t oldN = visible_.size(), newN = lines.size();
    std::size_t prefix = 0;
    while (prefix < oldN && prefix < newN && visible_[prefix] == lines[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldN - prefix && suffix < newN - prefix &&
           visible_[oldN - 1 - suffix] == lines[newN - 1 - suffix])
        ++suffix;
    auto oldOf = [&](std::size_t newIndex) -> long {
        if (newIndex < prefix) return static_cast<long>(newIndex);
        if (newIndex >= newN - suffix) return static_cast<long>(newIndex + oldN - newN);
        return -1;
    };

    // Where each visible line of the original sits among the physical lines.
    std::vector<const PhysicalLine*> oldVisible;
    std::vector<std::vector<const PhysicalLine*>> after(oldN + 1);  // hidden lines after old i-1
    for (const auto& p : physical_) {
        if (p.hidden)
            after[p.anchor + 1].push_back(&p);
        else
            oldVisible.push_back(&p);
    }

    // Hidden lines that followed a changed line go after their member's new declaration,
    // or, when it is gone, after the changed region; they are never dropped.
    std::vector<std::vector<const PhysicalLine*>> moved(newN + 1);
    for (std::size_t o = prefix; o < oldN - suffix; ++o) {
        for (const PhysicalLine* h : after[o + 1]) {
            std::size_t target = newN - suffix;  // after new line target - 1
            std::string member = MemberOfAttribute(h->text);
            for (std::size_t k = prefix; k < newN - suffix; ++k) {
                if (!DeclaresMember(lines[k], member)) continue;
                while (k + 1 < newN && EndsWithContinuation(lines[k])) ++k;
                target = k + 1;
                break;
            }
            moved[target].push_back(h);
        }
    }

    struct Piece {
        const std::string* bytes;
        std::string encoded;
        std::string eol;
    };
    std::vector<Piece> pieces;
    auto emitHidden = [&](const PhysicalLine* h) {
        pieces.push_back(
            {h->rawValid ? &h->raw : nullptr, h->rawValid ? "" : Encode(h->text), h->eol});
    };
    for (const PhysicalLine* h : after[0]) emitHidden(h);
    for (const PhysicalLine* h : moved[0]) emitHidden(h);
    for (std::size_t n = 0; n < newN; ++n) {
        long o = oldOf(n);
        if (o >= 0 && oldVisible[o]->rawValid) {
            pieces.push_back({&oldVisible[o]->raw, "", oldVisible[o]->eol});
        } else {
            std::string encoded = Encode(lines[n]);
            // '?' is never part of a CP932 double-byte character, so extra ones are losses.
            if (encoding_ == TextEncoding::Cp932 &&
                std::count(encoded.begin(), encoded.end(), '?') >
                    std::count(lines[n].begin(), lines[n].end(), '?'))
                out.lossyLines.push_back(static_cast<int>(n) + 1);
            // A changed line keeps the line end of the line it stands in for.
            std::size_t stand = o >= 0 ? static_cast<std::size_t>(o) : n;
            bool paired = o >= 0 || stand < oldN - suffix;
            pieces.push_back({nullptr, std::move(encoded), paired ? oldVisible[stand]->eol : ""});
        }
        if (o >= 0)
            for (const PhysicalLine* h : after[o + 1]) emitHidden(h);
        for (const PhysicalLine* h : moved[n + 1]) emitHidden(h);
    }

    const bool endsWithBreak = !physical_.empty() && !physical_.back().eol.empty();
    if (encoding_ == TextEncoding::Utf8Bom) out.bytes += kUtf8Bom;
    if (encoding_ == TextEncoding::Utf16Le) out.bytes += kUtf16LeBom;
    if (encoding_ == TextEncoding::Utf16Be) out.bytes += kUtf16BeBom;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        auto& p = pieces[i];
        out.bytes += p.bytes ? *p.bytes : p.encoded;
        std::string eol = p.eol.empty() ? dominantEol_ : p.eol;
        if (i + 1 == pieces.size() && !endsWithBreak) eol.clear();
        out.bytes += (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Utf16Be)
                         ? Encode(eol)
                         : eol;
    }
    return out;
}

}  // namespace trawlex
