#pragma once
// The text scan over the VBA modules of an Office document.

#include <functional>
#include <string>
#include <string_view>

#include "search/text_scan.h"

namespace trawlex::office {

// Searches each module of the document whose bytes are given, in project order; its rows
// carry the document's path as their name and the module's name as their module. A
// document that cannot be read (damaged, encrypted) and each module that cannot be read
// go to `report` as "エラーが発生しました:" + path + ": " + description.
void SearchOfficeDocument(std::string_view bytes, const std::string& path, std::string_view search,
                          const ScanRoles& roles, MatchEngine& engine,
                          const std::function<void(const std::string&)>& report);

}  // namespace trawlex::office
