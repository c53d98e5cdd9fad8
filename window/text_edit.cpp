#include "window/text_edit.h"

#include "search/search_types.h"

namespace trawlex::window {

std::string TrimSpaces(std::string_view text) {
    return std::string(trawlex::TrimSpaces(text));
}

void ReplaceAll(std::string& text, std::string_view what, std::string_view with) {
    if (what.empty()) return;
    for (auto pos = text.find(what); pos != std::string::npos;
         pos = text.find(what, pos + with.size())) {
        text.replace(pos, what.size(), with);
    }
}

}  // namespace trawlex::window
