#include "search/encoded_search.h"

#include <algorithm>
#include <cstdint>

#include "search/avx2.h"
#include "base/cp932_codec.h"
#include "search/text_fold.h"
#include "base/utf8_codec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace trawlex {
namespace {

using StandIns = LineRequirement::StandIns;

std::string Fold(std::string_view text, bool like) {
    return like ? NormaliseForLike(text) : FoldForCompare(text);
}

// The non-ASCII CP932 characters whose fold holds ASCII, with that ASCII.
struct AsciiStandIn {
    std::string bytes;
    std::string ascii;
};

const std::vector<AsciiStandIn>& Cp932AsciiStandIns(bool like) {
    static const auto make = [](bool for_like) {
        std::vector<AsciiStandIn> found;
        for (const Cp932Char& ch : Cp932NonAsciiChars()) {
            std::string ascii;
            for (char c : Fold(ch.utf8, for_like)) {
                if (static_cast<unsigned char>(c) < 0x80) ascii.push_back(c);
            }
            if (!ascii.empty()) found.push_back({ch.bytes, std::move(ascii)});
        }
        return found;
    };
    static const std::vector<AsciiStandIn> compare = make(false);
    static const std::vector<AsciiStandIn> normalise = make(true);
    return like ? normalise : compare;
}

// The CP932 codes of the characters that fold into one of the needle's characters. A search
// asks for the same needle file after file, so the last answer is kept.
const std::vector<std::string>& Cp932StandInsFor(std::string_view needle, bool like) {
    thread_local std::string last_needle;
    thread_local bool last_like = false;
    thread_local std::vector<std::string> codes;
    thread_local bool ready = false;
    if (ready && last_like == like && last_needle == needle) return codes;
    codes.clear();
    for (const AsciiStandIn& stand_in : Cp932AsciiStandIns(like)) {
        if (stand_in.ascii.find_first_of(needle) != std::string::npos) {
            codes.push_back(stand_in.bytes);
        }
    }
    last_needle.assign(needle);
    last_like = like;
    ready = true;
    return codes;
}

constexpr std::size_t kMaxFilteredLeads = 4;

}  // namespace

#if defined(TRAWLEX_HAVE_AVX2_PATH)
// The filter of operator() 32 places at a time; returns the hit, or null with `p` moved
// to where the narrower loops go on.
TRAWLEX_AVX2_TARGET const unsigned char* PairSetSearch::FindAvx2(const unsigned char*& p,
                                                                 const unsigned char* last) const {
    __m256i lead[kMaxFilteredLeads];
    __m256i low[kMaxFilteredLeads];
    __m256i span[kMaxFilteredLeads];
    for (std::size_t i = 0; i < leads_.size(); ++i) {
        lead[i] = _mm256_set1_epi8(static_cast<char>(leads_[i].lead));
        low[i] = _mm256_set1_epi8(static_cast<char>(leads_[i].low));
        span[i] = _mm256_set1_epi8(static_cast<char>(leads_[i].high - leads_[i].low));
    }
    while (last - p >= 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
        __m256i hits = _mm256_setzero_si256();
        for (std::size_t i = 0; i < leads_.size(); ++i) {
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

FoldedAsciiSearch::FoldedAsciiSearch(std::string_view text, std::string needle, bool like)
    : text_(text),
      like_(like),
      caseless_(AsciiCaselessSearch(text, needle)),
      stand_ins_(AnyBytesSearch(text, std::vector<std::string>(kFoldsToAsciiPrefixes.begin(),
                                                               kFoldsToAsciiPrefixes.end()))) {
    for (char ch : needle) in_needle_[static_cast<unsigned char>(ch)] = true;
}

std::size_t FoldedAsciiSearch::operator()(std::size_t from) {
    return std::min(caseless_.Find(from), NextStandIn(from));
}

std::size_t FoldedAsciiSearch::NextStandIn(std::size_t from) {
    for (;;) {
        const std::size_t at = stand_ins_.Find(from);
        if (at == kNoHit || FoldsIntoNeedle(at)) return at;
        from = at + 1;
    }
}

bool FoldedAsciiSearch::FoldsIntoNeedle(std::size_t at) {
    std::size_t end = at;
    utf8::Next(text_, end);
    const std::string_view ch = text_.substr(at, end - at);
    if (like_) {
        NormaliseForLike(ch, folded_char_);
    } else {
        FoldForCompare(ch, folded_char_);
    }
    for (char c : folded_char_) {
        if (in_needle_[static_cast<unsigned char>(c)]) return true;
    }
    return false;
}

PairSetSearch::PairSetSearch(std::string_view text, const std::vector<std::string>& pairs)
    : text_(text) {
    for (const std::string& pair : pairs) {
        const auto lead = static_cast<unsigned char>(pair[0]);
        const auto trail = static_cast<unsigned char>(pair[1]);
        auto it = std::find_if(leads_.begin(), leads_.end(),
                               [&](const Lead& l) { return l.lead == lead; });
        if (it == leads_.end()) {
            leads_.emplace_back();
            it = leads_.end() - 1;
            it->lead = lead;
        }
        it->low = std::min(it->low, trail);
        it->high = std::max(it->high, trail);
        it->trails[trail] = true;
    }
}

bool PairSetSearch::IsCode(const unsigned char* at) const {
    for (const Lead& lead : leads_) {
        if (at[0] == lead.lead && lead.trails[at[1]]) return true;
    }
    return false;
}

std::size_t PairSetSearch::operator()(std::size_t from) const {
    if (leads_.empty() || from >= text_.size()) return kNoHit;
    const auto* const base = reinterpret_cast<const unsigned char*>(text_.data());
    const unsigned char* p = base + from;
    const unsigned char* const last = base + text_.size() - 1;  // the last place a code fits
#if defined(TRAWLEX_HAVE_AVX2_PATH)
    if (leads_.size() <= kMaxFilteredLeads && HasAvx2()) {
        const unsigned char* hit = FindAvx2(p, last);
        if (hit) return static_cast<std::size_t>(hit - base);
    }
#endif
#if defined(__SSE2__)
    constexpr std::size_t kMaxLeads = kMaxFilteredLeads;
    if (leads_.size() <= kMaxLeads) {
        __m128i lead[kMaxLeads];
        __m128i low[kMaxLeads];
        __m128i span[kMaxLeads];
        for (std::size_t i = 0; i < leads_.size(); ++i) {
            lead[i] = _mm_set1_epi8(static_cast<char>(leads_[i].lead));
            low[i] = _mm_set1_epi8(static_cast<char>(leads_[i].low));
            span[i] = _mm_set1_epi8(static_cast<char>(leads_[i].high - leads_[i].low));
        }
        while (last - p >= 16) {  // 16 places whose trail bytes lie inside the text
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            __m128i hits = _mm_setzero_si128();
            for (std::size_t i = 0; i < leads_.size(); ++i) {
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

std::unique_ptr<RequirementSearch> RequirementSearch::Make(const LineRequirement& requirement,
                                                           ByteEncoding encoding,
                                                           std::string_view bytes) {
    using Kind = LineRequirement::Kind;
    if (encoding == ByteEncoding::Other) return nullptr;
    const bool cp932 = encoding == ByteEncoding::Cp932;
    std::unique_ptr<RequirementSearch> search(new RequirementSearch);
    const auto look_for_any = [&](std::vector<std::string> needles) {
        if (needles.size() == 1) {
            search->exact_.emplace(BytesSearch(bytes, std::move(needles.front())));
        } else if (!needles.empty()) {
            search->any_.emplace(AnyBytesSearch(bytes, std::move(needles)));
        }
    };
    switch (requirement.kind) {
        case Kind::Unknown:
        case Kind::NoLines:
            return nullptr;
        case Kind::AnyOf: {
            if (!cp932) {
                look_for_any(requirement.strings);
                break;
            }
            constexpr std::size_t kMaxSources = 16;
            std::vector<std::string> sources;
            for (const std::string& text : requirement.strings) {
                // Bytes that are no whole characters can match inside a character's UTF-8,
                // and U+FFFD stands for any byte that does not decode.
                if (!IsValidUtf8(text) || text.find("\xEF\xBF\xBD") != std::string::npos) {
                    return nullptr;
                }
                std::vector<std::string> more = Cp932Sources(text, kMaxSources);
                // A string CP932 cannot encode cannot stand in a text decoded from it; but
                // one with too many encodings to list can.
                if (more.empty() && !Cp932Sources(text, SIZE_MAX).empty()) return nullptr;
                sources.insert(sources.end(), more.begin(), more.end());
            }
            look_for_any(std::move(sources));  // none: no line can match
            break;
        }
        case Kind::Ascii: {
            if (requirement.ascii.empty()) return nullptr;
            const bool like = requirement.stand_ins == StandIns::Like;
            if (!requirement.caseless) {
                look_for_any({requirement.ascii});
            } else if (requirement.stand_ins != StandIns::None && !cp932) {
                search->folded_.emplace(FoldedAsciiSearch(bytes, requirement.ascii, like));
                break;
            } else {
                search->caseless_.emplace(AsciiCaselessSearch(bytes, requirement.ascii));
            }
            if (requirement.stand_ins == StandIns::None) break;
            const std::vector<std::string>& codes = Cp932StandInsFor(requirement.ascii, like);
            const bool pairs_only = std::all_of(codes.begin(), codes.end(),
                                                [](const std::string& c) { return c.size() == 2; });
            if (codes.empty()) break;
            if (pairs_only) {
                search->pairs_.emplace(PairSetSearch(bytes, codes));
            } else if (!search->any_) {
                search->any_.emplace(AnyBytesSearch(bytes, codes));
            } else {
                return nullptr;
            }
            break;
        }
    }
    return search;
}

std::size_t RequirementSearch::Find(std::size_t from) {
    std::size_t hit = kNoHit;
    if (exact_) hit = std::min(hit, exact_->Find(from));
    if (any_) hit = std::min(hit, any_->Find(from));
    if (caseless_) hit = std::min(hit, caseless_->Find(from));
    if (folded_) hit = std::min(hit, folded_->Find(from));
    if (pairs_) hit = std::min(hit, pairs_->Find(from));
    return hit;
}

}  // namespace trawlex
