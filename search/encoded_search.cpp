#include "search/encoded_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

#include "base/avx2.h"
#include "base/cp932_codec.h"
#include "base/utf8_codec.h"
#include "search/text_fold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {
namespace {

using StandIns = LineRequirement::StandIns;

constexpr std::string_view kKelvinSign = "\xE2\x84\xAA";  // U+212A, "k" to a regex
constexpr std::string_view kLongS = "\xC5\xBF";           // U+017F, "s" to a regex

// The text as `stand_ins` sees it; Case folds as Compare does, which takes in its two
// characters.
void Fold(std::string_view text, StandIns stand_ins, std::string& out) {
    if (stand_ins == StandIns::Like) {
        NormaliseForLike(text, out);
    } else {
        FoldForCompare(text, out);
    }
}

// The fold of one character under `stand_ins`.
void CharFold(std::string_view ch, StandIns stand_ins, std::string& out) {
    if (stand_ins == StandIns::Case && ch != kKelvinSign && ch != kLongS) {
        out.assign(ch);
    } else {
        Fold(ch, stand_ins, out);
    }
}

// The non-ASCII CP932 characters whose fold holds ASCII, with that ASCII.
struct AsciiStandIn {
    std::string bytes;
    std::string ascii;
};

const std::vector<AsciiStandIn>& Cp932AsciiStandIns(StandIns stand_ins) {
    static const auto make = [](StandIns kind) {
        std::vector<AsciiStandIn> found;
        std::string folded;
        ForEachCp932NonAsciiChar([&](std::string_view bytes, std::string_view utf8) {
            std::string ascii;
            CharFold(utf8, kind, folded);
            for (char c : folded) {
                if (static_cast<unsigned char>(c) < 0x80) ascii.push_back(c);
            }
            if (!ascii.empty()) found.push_back({std::string(bytes), std::move(ascii)});
        });
        return found;
    };
    // Each list is made when first asked for: a search needs one of them.
    static const std::vector<AsciiStandIn> none;
    switch (stand_ins) {
        case StandIns::None:
            break;
        case StandIns::Case: {
            static const std::vector<AsciiStandIn> by_case = make(StandIns::Case);
            return by_case;
        }
        case StandIns::Compare: {
            static const std::vector<AsciiStandIn> compare = make(StandIns::Compare);
            return compare;
        }
        case StandIns::Like: {
            static const std::vector<AsciiStandIn> like = make(StandIns::Like);
            return like;
        }
    }
    return none;
}

// The UTF-8 prefixes of the characters that may fold to ASCII under `stand_ins`.
const std::shared_ptr<const NeedleSet>& Utf8StandInPrefixes(StandIns stand_ins) {
    static const auto folds = std::make_shared<const NeedleSet>(
        std::vector<std::string>(kFoldsToAsciiPrefixes.begin(), kFoldsToAsciiPrefixes.end()));
    static const auto by_case = std::make_shared<const NeedleSet>(
        std::vector<std::string>{std::string(kKelvinSign), std::string(kLongS)});
    return stand_ins == StandIns::Case ? by_case : folds;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The CP932 bytes that decode to one of `strings`, or nothing when they cannot be looked
// for as bytes.
std::optional<std::vector<std::string>> Cp932SourcesOfAll(const std::vector<std::string>& strings) {
    std::vector<std::string> sources;
    constexpr std::size_t kMaxSources = 16;
    for (const std::string& text : strings) {
        // Bytes that are no whole characters can match inside a character's UTF-8, and
        // U+FFFD stands for any byte that does not decode.
        if (!IsValidUtf8(text) || text.find("\xEF\xBF\xBD") != std::string::npos) {
            return std::nullopt;
        }
        std::vector<std::string> more = Cp932Sources(text, kMaxSources);
        // A string CP932 cannot encode cannot stand in a text decoded from it; but one with
        // too many encodings to list can.
        if (more.empty() && Cp932CanEncode(text)) return std::nullopt;
        sources.insert(sources.end(), more.begin(), more.end());
    }
    return sources;
}

// How far back a CP932 window looks for a byte that cannot be a trail byte; past that it
// gives up and lets the whole line be tested.
constexpr std::size_t kMaxCp932Walk = 64;

constexpr std::size_t kMaxFilteredLeads = PairSetSearch::kMaxFilteredLeads;

}  // namespace

#if defined(TRAWLEX_HAVE_AVX2_PATH)
// The filter of operator() 32 places at a time; returns the hit, or null with `p` moved
// to where the narrower loops go on.
TRAWLEX_AVX2_TARGET const unsigned char* PairSetSearch::FindAvx2(const unsigned char*& p,
                                                                 const unsigned char* last) const {
    __m256i lead[kMaxFilteredLeads];
    __m256i low[kMaxFilteredLeads];
    __m256i span[kMaxFilteredLeads];
    for (std::size_t i = 0; i < leads().size(); ++i) {
        lead[i] = _mm256_set1_epi8(static_cast<char>(leads()[i].lead));
        low[i] = _mm256_set1_epi8(static_cast<char>(leads()[i].low));
        span[i] = _mm256_set1_epi8(static_cast<char>(leads()[i].high - leads()[i].low));
    }
    while (last - p >= 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        __m256i hits = _mm256_setzero_si256();
        for (std::size_t i = 0; i < leads().size(); ++i) {
            const __m256i offset = _mm256_sub_epi8(b, low[i]);
            const __m256i in_range = _mm256_cmpeq_epi8(_mm256_min_epu8(offset, span[i]), offset);
            hits = _mm256_or_si256(hits, _mm256_and_si256(_mm256_cmpeq_epi8(a, lead[i]), in_range));
        }
        auto bits = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        while (bits != 0) {
            const unsigned char* const at = p + __builtin_ctz(bits);
            if (IsCode(at)) return at;
            bits &= bits - 1;
        }
        p += 32;
    }
    return nullptr;
}
#endif

std::vector<std::string> Cp932StandInsFor(std::string_view needle, StandIns stand_ins) {
    std::vector<std::string> codes;
    for (const AsciiStandIn& stand_in : Cp932AsciiStandIns(stand_ins)) {
        if (stand_in.ascii.find_first_of(needle) != std::string::npos) {
            codes.push_back(stand_in.bytes);
        }
    }
    return codes;
}

namespace {

// The UTF-8 of every character that starts with one of `prefixes`, each a whole character
// or one missing its last byte.
std::vector<std::string> Utf8Completions(const std::vector<std::string>& prefixes) {
    std::vector<std::string> chars;
    for (const std::string& prefix : prefixes) {
        std::size_t end = 0;
        if (utf8::Next(prefix, end) < utf8::kInvalidByteBase && end == prefix.size()) {
            chars.push_back(prefix);
            continue;
        }
        for (int trail = 0x80; trail <= 0xBF; ++trail) {
            chars.push_back(prefix + static_cast<char>(trail));
        }
    }
    return chars;
}

// Every byte a match of the lower-case ASCII `needle` in the folded text can hold in the
// text's bytes: its letters in either case, and the bytes of the characters that fold into
// one of its characters (in CP932, those of `cp932_codes`).
StandInPlan::ByteSet MatchBytes(std::string_view needle, StandIns stand_ins,
                                const std::vector<std::string>* cp932_codes) {
    StandInPlan::ByteSet bytes{};
    const auto add = [&](std::string_view chars) {
        for (char c : chars) bytes[static_cast<unsigned char>(c)] = true;
    };
    for (char c : needle) {
        add(std::string_view(&c, 1));
        if (c >= 'a' && c <= 'z') bytes[static_cast<unsigned char>(c - 32)] = true;
    }
    if (cp932_codes) {
        for (const std::string& code : *cp932_codes) add(code);
        return bytes;
    }
    static const std::vector<std::string> candidates =
        Utf8Completions(Utf8StandInPrefixes(StandIns::Compare)->needles);
    std::string folded;
    for (const std::string& ch : candidates) {
        CharFold(ch, stand_ins, folded);
        if (folded.find_first_of(needle) != std::string::npos) add(ch);
    }
    return bytes;
}

// The prefixes of Utf8StandInPrefixes that start a character whose fold holds one of the
// characters of `needle`.
std::vector<std::string> Utf8StandInPrefixesFor(std::string_view needle, StandIns stand_ins) {
    std::vector<std::string> prefixes;
    std::string folded;
    for (const std::string& prefix : Utf8StandInPrefixes(stand_ins)->needles) {
        for (const std::string& ch : Utf8Completions({prefix})) {
            CharFold(ch, stand_ins, folded);
            if (folded.find_first_of(needle) != std::string::npos) {
                prefixes.push_back(prefix);
                break;
            }
        }
    }
    return prefixes;
}

std::vector<PairSetSearch::Lead> LeadsOf(const std::vector<std::string>& codes);

std::shared_ptr<const StandInPlan> MakeStandInPlan(std::string_view needle, StandIns stand_ins,
                                                   bool cp932) {
    auto plan = std::make_shared<StandInPlan>();
    plan->needle.assign(needle);
    plan->stand_ins = stand_ins;
    plan->cp932 = cp932;
    for (char ch : needle) plan->in_needle[static_cast<unsigned char>(ch)] = true;
    std::vector<std::string> codes =
        cp932 ? Cp932StandInsFor(needle, stand_ins) : Utf8StandInPrefixesFor(needle, stand_ins);
    plan->match_bytes = MatchBytes(needle, stand_ins, cp932 ? &codes : nullptr);
    plan->answers = std::make_shared<std::unordered_map<char32_t, bool>>();
    const bool paired =
        std::all_of(codes.begin(), codes.end(), [](const std::string& c) { return c.size() >= 2; });
    if (codes.empty()) {
        // nothing stands in
    } else if (paired) {
        plan->leads = std::make_shared<const std::vector<PairSetSearch::Lead>>(LeadsOf(codes));
    } else {
        plan->short_codes = std::make_shared<const NeedleSet>(std::move(codes));
    }
    return plan;
}

}  // namespace

std::shared_ptr<const StandInPlan> StandInPlan::For(std::string_view needle, StandIns stand_ins,
                                                    bool cp932) {
    // A folder mixes UTF-8 and CP932 files, and a run may hold several option sets.
    constexpr std::size_t kKept = 4;
    thread_local std::array<std::shared_ptr<const StandInPlan>, kKept> kept;
    thread_local std::size_t next = 0;
    for (const auto& plan : kept) {
        if (plan && plan->cp932 == cp932 && plan->stand_ins == stand_ins &&
            plan->needle == needle) {
            return plan;
        }
    }
    std::shared_ptr<const StandInPlan>& slot = kept[next];
    next = (next + 1) % kKept;
    slot = MakeStandInPlan(needle, stand_ins, cp932);
    return slot;
}

StandInWindow::StandInWindow(std::string_view bytes, bool cp932, std::string_view needle,
                             StandIns fold)
    : StandInWindow(bytes, StandInPlan::For(needle, fold, cp932)) {}

StandInWindow::StandInWindow(std::string_view bytes, std::shared_ptr<const StandInPlan> plan)
    : bytes_(bytes), plan_(std::move(plan)) {}

bool StandInWindow::MayHoldNeedle(std::size_t at) {
    // A match's bytes stand together around `at`; a shorter run of bytes a match can hold
    // holds none, and most runs are cut short by bytes of other characters.
    const std::string& needle = plan_->needle;
    const StandInPlan::ByteSet& match_bytes = plan_->match_bytes;
    const std::size_t n = needle.size();
    std::size_t run_lo = at;
    std::size_t run_hi = at + 1;
    while (run_hi - run_lo < n && run_hi < bytes_.size() &&
           match_bytes[static_cast<unsigned char>(bytes_[run_hi])]) {
        ++run_hi;
    }
    while (run_hi - run_lo < n && run_lo > 0 &&
           match_bytes[static_cast<unsigned char>(bytes_[run_lo - 1])]) {
        --run_lo;
    }
    if (run_hi - run_lo < n) return false;
    // A character takes at most `width` bytes; the window reaches needle-length characters
    // past the one at `at` (or, in CP932, the one that `at` may be the trail byte of).
    const bool cp932 = plan_->cp932;
    const std::size_t width = cp932 ? 2 : 4;
    const std::size_t reach = width * n;
    std::size_t lo = at - std::min(at, reach);
    const std::size_t hi = std::min(bytes_.size(), at + reach);
    std::string_view window;
    if (cp932) {
        // A byte below 0x40 is never a trail byte, so a character starts after it.
        const std::size_t lowest = lo - std::min(lo, kMaxCp932Walk);
        while (lo > 0 && static_cast<unsigned char>(bytes_[lo - 1]) >= 0x40) {
            if (lo == lowest) return true;
            --lo;
        }
        DecodeCp932(bytes_.substr(lo, hi - lo), decoded_);
        window = decoded_;
    } else {
        while (lo < at && IsContinuationByte(bytes_[lo])) ++lo;
        window = bytes_.substr(lo, hi - lo);
    }
    Fold(window, plan_->stand_ins, folded_);
    return folded_.find(needle) != std::string::npos;
}

StandInSearch::StandInSearch(std::string_view text, std::shared_ptr<const StandInPlan> plan)
    : text_(text), plan_(std::move(plan)), window_(text, plan_) {
    if (plan_->leads) {
        pairs_.emplace(text, plan_->leads);
    } else if (plan_->short_codes) {
        codes_.emplace(text, plan_->short_codes);
    }
}

std::size_t StandInSearch::operator()(std::size_t from) {
    for (;;) {
        const std::size_t at = codes_ ? (*codes_)(from) : pairs_ ? (*pairs_)(from) : kNoHit;
        if (at == kNoHit) return at;
        if (Accepts(at)) return at;
        from = at + 1;
    }
}

bool StandInSearch::Accepts(std::size_t at) {
    // CP932 codes are those of stand-ins already.
    return (plan_->cp932 || FoldsIntoNeedle(at)) && window_.MayHoldNeedle(at);
}

bool StandInSearch::FoldsIntoNeedle(std::size_t at) {
    std::size_t end = at;
    const char32_t ch = utf8::Next(text_, end);
    const auto [answer, added] = plan_->answers->try_emplace(ch, false);
    if (!added) return answer->second;
    CharFold(text_.substr(at, end - at), plan_->stand_ins, folded_char_);
    for (char c : folded_char_) {
        if (plan_->in_needle[static_cast<unsigned char>(c)]) answer->second = true;
    }
    return answer->second;
}

FoldedAsciiSearch::FoldedAsciiSearch(std::string_view text, const std::string& needle,
                                     StandIns stand_ins, bool cp932)
    : FoldedAsciiSearch(text, StandInPlan::For(needle, stand_ins, cp932)) {}

FoldedAsciiSearch::FoldedAsciiSearch(std::string_view text, std::shared_ptr<const StandInPlan> plan)
    : text_(text),
      caseless_(AsciiCaselessSearch(text, plan->needle)),
      stand_ins_(StandInSearch(text, std::move(plan))) {}

std::size_t FoldedAsciiSearch::Separately(std::size_t from) {
    return std::min(caseless_.Find(from), stand_ins_.Find(from));
}

std::size_t FoldedAsciiSearch::operator()(std::size_t from) {
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (HasAvx2()) {
        if (stand_ins_.search().Empty()) return caseless_.Find(from);
        const PairSetSearch* codes = stand_ins_.search().codes();
        if (codes && !codes->leads().empty() && codes->leads().size() <= kMaxFilteredLeads) {
            if (const std::size_t hit = FindTogetherAvx2(from); hit != kNoHit) return hit;
        }
    }
#endif
    return Separately(from);
}

#if defined(TRAWLEX_HAVE_AVX2_PATH)
namespace {

using TogetherFilter = FoldedAsciiFilter;

// The first block of 32 places from `at` on, before `stop`, where a place passes a filter,
// with the places that pass each (bit i for place at + i); `stop` when there is none. Kept
// apart from the tests of the places, which call out, so that the filters stay in registers.
template <std::size_t kLeads>
TRAWLEX_AVX2_TARGET __attribute__((noinline)) std::size_t NextCandidateBlock(
    const char* base, std::size_t at, std::size_t stop, const TogetherFilter& filter,
    unsigned& ascii_bits, unsigned& code_bits) {
    const std::size_t r1 = filter.r1;
    const std::size_t r2 = filter.r2;
    const __m256i a_lower = _mm256_set1_epi8(filter.a_lower);
    const __m256i a_upper = _mm256_set1_epi8(filter.a_upper);
    const __m256i b_lower = _mm256_set1_epi8(filter.b_lower);
    const __m256i b_upper = _mm256_set1_epi8(filter.b_upper);
    __m256i lead[kLeads];
    __m256i low[kLeads];
    __m256i span[kLeads];
    for (std::size_t i = 0; i < kLeads; ++i) {
        lead[i] = _mm256_set1_epi8(static_cast<char>(filter.lead[i]));
        low[i] = _mm256_set1_epi8(static_cast<char>(filter.low[i]));
        span[i] = _mm256_set1_epi8(static_cast<char>(filter.span[i]));
    }
    for (; at < stop; at += 32) {
        const char* const p = base + at;
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + r1));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + r2));
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        const __m256i ascii = _mm256_and_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(a, a_lower), _mm256_cmpeq_epi8(a, a_upper)),
            _mm256_or_si256(_mm256_cmpeq_epi8(b, b_lower), _mm256_cmpeq_epi8(b, b_upper)));
        __m256i codes = _mm256_setzero_si256();
        for (std::size_t i = 0; i < kLeads; ++i) {
            const __m256i offset = _mm256_sub_epi8(second, low[i]);
            const __m256i in_range = _mm256_cmpeq_epi8(_mm256_min_epu8(offset, span[i]), offset);
            codes = _mm256_or_si256(codes,
                                    _mm256_and_si256(_mm256_cmpeq_epi8(first, lead[i]), in_range));
        }
        const __m256i any = _mm256_or_si256(ascii, codes);
        if (!_mm256_testz_si256(any, any)) {
            ascii_bits = static_cast<unsigned>(_mm256_movemask_epi8(ascii));
            code_bits = static_cast<unsigned>(_mm256_movemask_epi8(codes));
            return at;
        }
    }
    return stop;
}

// FoldedAsciiSearch::FindTogetherAvx2 for `kLeads` lead bytes. `Hit(place, ascii, code)`
// tells whether a place that passed the ASCII filter, the code filter or both is a hit.
template <std::size_t kLeads, typename Hit>
std::size_t FindTogetherLoop(std::string_view text, std::size_t& from, const TogetherFilter& filter,
                             std::size_t needle_size, Hit hit) {
    const std::size_t size = text.size();
    // Every place of a block has the needle's bytes and a code's first two inside the text.
    const std::size_t reach = 32 + std::max<std::size_t>(needle_size, 2);
    if (from > size || size - from < reach) return kNoHit;
    // The blocks start at from, from + 32, ... up to the last that fits.
    const std::size_t stop = from + ((size - from - reach) / 32 + 1) * 32;
    std::size_t at = from;
    for (;;) {
        unsigned ascii_bits = 0;
        unsigned code_bits = 0;
        at = NextCandidateBlock<kLeads>(text.data(), at, stop, filter, ascii_bits, code_bits);
        if (at == stop) break;
        for (unsigned bits = ascii_bits | code_bits; bits != 0; bits &= bits - 1) {
            const unsigned bit = bits & (0u - bits);
            const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(bits));
            if (hit(place, (ascii_bits & bit) != 0, (code_bits & bit) != 0)) return place;
        }
        at += 32;
    }
    from = stop;
    return kNoHit;
}

}  // namespace

// Both filters over the same 32 places at a time: the needle's two chosen bytes in either
// letter case at their offsets, and a code's lead byte followed by a byte of its range.
// Returns the first hit, or kNoHit with `from` moved to where the separate searches go on.
std::size_t FoldedAsciiSearch::FindTogetherAvx2(std::size_t& from) {
    const AsciiCaselessSearch& caseless = caseless_.search();
    StandInSearch& stand_ins = stand_ins_.search();
    const PairSetSearch& codes = *stand_ins.codes();
    const auto hit = [&](std::size_t place, bool ascii, bool code) {
        return (ascii && caseless.At(place)) ||
               (code && codes.CodeAt(place) && stand_ins.Accepts(place));
    };
    const std::string& needle = caseless.needle();
    const std::vector<PairSetSearch::Lead>& leads = codes.leads();
    if (!filter_) {
        const auto upper = [](char c) {
            return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        };
        TogetherFilter& filter = filter_.emplace();
        std::tie(filter.r1, filter.r2) = caseless.filtered();
        filter.a_lower = needle[filter.r1];
        filter.a_upper = upper(needle[filter.r1]);
        filter.b_lower = needle[filter.r2];
        filter.b_upper = upper(needle[filter.r2]);
        for (std::size_t i = 0; i < leads.size(); ++i) {
            filter.lead[i] = leads[i].lead;
            filter.low[i] = leads[i].low;
            filter.span[i] = static_cast<unsigned char>(leads[i].high - leads[i].low);
        }
    }
    const TogetherFilter& filter = *filter_;
    switch (leads.size()) {
        case 1:
            return FindTogetherLoop<1>(text_, from, filter, needle.size(), hit);
        case 2:
            return FindTogetherLoop<2>(text_, from, filter, needle.size(), hit);
        case 3:
            return FindTogetherLoop<3>(text_, from, filter, needle.size(), hit);
        default:
            return FindTogetherLoop<kMaxFilteredLeads>(text_, from, filter, needle.size(), hit);
    }
}
#endif

namespace {

std::vector<PairSetSearch::Lead> LeadsOf(const std::vector<std::string>& codes) {
    using Lead = PairSetSearch::Lead;
    std::vector<Lead> leads;
    for (const std::string& code : codes) {
        const auto lead = static_cast<unsigned char>(code[0]);
        const auto second = static_cast<unsigned char>(code[1]);
        auto it =
            std::find_if(leads.begin(), leads.end(), [&](const Lead& l) { return l.lead == lead; });
        if (it == leads.end()) {
            leads.emplace_back();
            it = leads.end() - 1;
            it->lead = lead;
        }
        it->low = std::min(it->low, second);
        it->high = std::max(it->high, second);
        if (code.size() == 2) {
            it->trails[second] = true;
        } else {
            it->longer.push_back(code);
        }
    }
    return leads;
}

}  // namespace

PairSetSearch::PairSetSearch(std::string_view text, const std::vector<std::string>& codes)
    : PairSetSearch(text, std::make_shared<const std::vector<Lead>>(LeadsOf(codes))) {}

PairSetSearch::PairSetSearch(std::string_view text, std::shared_ptr<const std::vector<Lead>> leads)
    : text_(text), leads_(std::move(leads)) {}

bool PairSetSearch::IsCode(const unsigned char* at) const {
    for (const Lead& lead : *leads_) {
        if (at[0] != lead.lead) continue;
        if (lead.trails[at[1]]) return true;
        const auto* const end = reinterpret_cast<const unsigned char*>(text_.data() + text_.size());
        const auto room = static_cast<std::size_t>(end - at);
        for (const std::string& code : lead.longer) {
            if (code.size() <= room && std::memcmp(at, code.data(), code.size()) == 0) return true;
        }
    }
    return false;
}

bool PairSetSearch::CodeAt(std::size_t at) const {
    return IsCode(reinterpret_cast<const unsigned char*>(text_.data()) + at);
}

std::size_t PairSetSearch::operator()(std::size_t from) const {
    if (leads().empty() || from >= text_.size()) return kNoHit;
    const auto* const base = reinterpret_cast<const unsigned char*>(text_.data());
    const unsigned char* p = base + from;
    const unsigned char* const last = base + text_.size() - 1;  // the last place a code fits
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (leads().size() <= kMaxFilteredLeads && HasAvx2()) {
        const unsigned char* hit = FindAvx2(p, last);
        if (hit) return static_cast<std::size_t>(hit - base);
    }
#endif
#if defined(__SSE2__)
    constexpr std::size_t kMaxLeads = kMaxFilteredLeads;
    if (leads().size() <= kMaxLeads) {
        __m128i lead[kMaxLeads];
        __m128i low[kMaxLeads];
        __m128i span[kMaxLeads];
        for (std::size_t i = 0; i < leads().size(); ++i) {
            lead[i] = _mm_set1_epi8(static_cast<char>(leads()[i].lead));
            low[i] = _mm_set1_epi8(static_cast<char>(leads()[i].low));
            span[i] = _mm_set1_epi8(static_cast<char>(leads()[i].high - leads()[i].low));
        }
        while (last - p >= 16) {  // 16 places whose trail bytes lie inside the text
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            __m128i hits = _mm_setzero_si128();
            for (std::size_t i = 0; i < leads().size(); ++i) {
                const __m128i offset = _mm_sub_epi8(b, low[i]);
                const __m128i in_range = _mm_cmpeq_epi8(_mm_min_epu8(offset, span[i]), offset);
                hits = _mm_or_si128(hits, _mm_and_si128(_mm_cmpeq_epi8(a, lead[i]), in_range));
            }
            auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
            while (bits != 0) {
                const unsigned char* const at = p + __builtin_ctz(bits);
                if (IsCode(at)) return static_cast<std::size_t>(at - base);
                bits &= bits - 1;
            }
            p += 16;
        }
    }
#endif
    for (; p < last; ++p) {
        if (IsCode(p)) return static_cast<std::size_t>(p - base);
    }
    return kNoHit;
}

RequirementPlan::RequirementPlan(const LineRequirement& requirement, ByteEncoding encoding) {
    using Kind = LineRequirement::Kind;
    if (encoding == ByteEncoding::Other) return;
    cp932 = encoding == ByteEncoding::Cp932;
    const auto look_for_any = [&](std::vector<std::string> needles) {
        if (needles.size() == 1) {
            exact.emplace(std::move(needles.front()));
        } else if (!needles.empty()) {
            any = std::make_shared<const NeedleSet>(std::move(needles));
        }
    };
    switch (requirement.kind) {
        case Kind::Unknown:
        case Kind::NoLines:
            return;
        case Kind::AnyOf: {
            if (!cp932) {
                look_for_any(requirement.strings);
                break;
            }
            const std::optional<std::vector<std::string>> sources =
                Cp932SourcesOfAll(requirement.strings);
            if (!sources) return;
            look_for_any(*sources);  // none: no line can match
            break;
        }
        case Kind::Ascii:
            if (requirement.ascii.empty()) return;
            ascii_is_match = requirement.ascii_is_match && requirement.caseless;
            ascii_size = requirement.ascii.size();
            if (ascii_is_match) ascii = requirement.ascii;
            if (!requirement.caseless) {
                look_for_any({requirement.ascii});
            } else if (requirement.stand_ins == StandIns::None) {
                caseless = requirement.ascii;
            } else {
                folded = StandInPlan::For(requirement.ascii, requirement.stand_ins, cp932);
            }
            break;
    }
    usable = true;
}

std::unique_ptr<RequirementSearch> RequirementSearch::Make(const RequirementPlan& plan,
                                                           std::string_view bytes) {
    if (!plan.usable) return nullptr;
    std::unique_ptr<RequirementSearch> search(new RequirementSearch(plan));
    if (plan.exact) search->exact_.emplace(BytesSearch(bytes, *plan.exact));
    if (plan.any) search->any_.emplace(AnyBytesSearch(bytes, plan.any));
    if (!plan.caseless.empty())
        search->caseless_.emplace(AsciiCaselessSearch(bytes, plan.caseless));
    if (plan.folded) search->folded_.emplace(FoldedAsciiSearch(bytes, plan.folded));
    return search;
}

bool RequirementSearch::HitMatches(std::size_t at, std::size_t line_start, std::string_view content,
                                   bool ascii_or_utf8) {
    if (!plan_.ascii_is_match || at < line_start ||
        at + plan_.ascii_size > line_start + content.size()) {
        return false;
    }
    if (plan_.cp932 && !ascii_or_utf8) return false;  // an ASCII byte may be a trail byte
    if (caseless_) return caseless_->Find(at) == at;
    if (folded_) return folded_->search().NeedleAt(at);
    return false;
}

bool RequirementSearch::LineHoldsAscii(std::string_view line) const {
    const std::string& ascii = plan_.ascii;
    if (!plan_.ascii_is_match || line.size() < ascii.size()) return false;
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    const std::size_t last = line.size() - ascii.size();
    for (std::size_t at = 0; at <= last; ++at) {
        if (lower(line[at]) != ascii[0]) continue;
        std::size_t i = 1;
        while (i < ascii.size() && lower(line[at + i]) == ascii[i]) ++i;
        if (i == ascii.size()) return true;
    }
    return false;
}

std::size_t RequirementSearch::Find(std::size_t from) {
    std::size_t hit = kNoHit;
    if (exact_) hit = std::min(hit, exact_->Find(from));
    if (any_) hit = std::min(hit, any_->Find(from));
    if (caseless_) hit = std::min(hit, caseless_->Find(from));
    if (folded_) hit = std::min(hit, folded_->Find(from));
    return hit;
}

}  // namespace trawlex
