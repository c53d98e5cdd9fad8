#pragma once
// A VB module file (.bas, .cls, .frm, .ctl, .dsr, ...) split into the code the VB IDE shows
// and what it hides: the designer block and `Attribute` lines at the top, and member
// `Attribute Name.VB_...` lines inside the code. Joining back restores every hidden line in
// place, in the file's own encoding and line ends, so an unchanged module saves
// byte-identical.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_decode.h"

namespace trawlex {

enum class TextEncoding { Cp932, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The encoding a module file was written in. A BOM decides; otherwise `choice` does, and
// with Auto pure ASCII counts as CP932, the code page VB writes in, and non-ASCII text
// counts as UTF-8 where the search would read it so.
TextEncoding DetectTextEncoding(std::string_view bytes,
                                EncodingChoice choice = EncodingChoice::Auto);

struct ModuleSaveData {
    std::string bytes;
    // 1-based visible lines holding characters the file's encoding cannot represent
    // (they are written as '?').
    std::vector<int> lossyLines;
};

class VbModuleFile {
  public:
    VbModuleFile() = default;
    // `choice` tells how bytes without a BOM are read (and so written back).
    static VbModuleFile Parse(std::string_view bytes, EncodingChoice choice = EncodingChoice::Auto);

    // The code as the IDE shows it; line n of the IDE is element n - 1.
    const std::vector<std::string>& VisibleLines() const { return visible_; }
    // Visible lines joined by `separator` (no trailing separator).
    std::string VisibleText(std::string_view separator = "\r\n") const;
    // The value of `Attribute VB_Name = "..."`, or empty.
    const std::string& Name() const { return name_; }
    TextEncoding Encoding() const { return encoding_; }
    // Number of hidden lines (designer block, attributes).
    std::size_t HiddenCount() const { return physical_.size() - visible_.size(); }

    // The file with `visibleLines` in place of the code it was parsed with. Lines kept from
    // the original keep their bytes and line ends; new lines take the file's usual line end.
    ModuleSaveData Serialize(const std::vector<std::string>& visibleLines) const;
    // The file as parsed.
    std::string Serialize() const { return Serialize(visible_).bytes; }

  private:
    struct PhysicalLine {
        std::string text;  // UTF-8
        std::string raw;   // the original bytes without the line end
        std::string eol;   // "\r\n", "\n", "\r" or "" (last line without a break)
        bool hidden = false;
        bool rawValid = true;  // false when raw cannot stand for text (UTF-16)
        int anchor = -1;       // hidden lines: index of the visible line they follow
    };

    std::string Encode(std::string_view text) const;

    std::vector<PhysicalLine> physical_;
    std::vector<std::string> visible_;
    std::string name_;
    std::string dominantEol_ = "\r\n";
    std::string original_;  // the bytes as parsed
    TextEncoding encoding_ = TextEncoding::Cp932;
};

// Splits text at CR LF, LF or a lone CR; `eols` receives each line's terminator.
std::vector<std::string> SplitLines(std::string_view text, std::vector<std::string>* eols);

}  // namespace trawlex
