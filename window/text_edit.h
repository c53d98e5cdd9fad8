#pragma once
// Small edits of byte strings shared by the window's tools.

#include <string>
#include <string_view>

namespace trawlex::window {

// The engine's space trim, as a string the window can keep.
std::string TrimSpaces(std::string_view text);

// Replaces each occurrence of `what`, left to right; replaced text is not searched again.
void ReplaceAll(std::string& text, std::string_view what, std::string_view with);

}  // namespace trawlex::window
