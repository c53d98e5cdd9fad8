#pragma once
// Reading and writing a hive as a regedit export (.reg, version 5.00, UTF-8):
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Vendor]
//   @="default value"
//   "Text"="C:\\path with \"quotes\""
//   "Count"=dword:00000003
//   "Path"=hex(2):25,00,50,00,00,00
//
// REG_EXPAND_SZ is written as hex(2) (UTF-16LE with terminator) as regedit does. A
// REG_SZ holding a line break or other control character is written as hex(1) the same
// way, since a quoted string cannot carry one. Other types keep their bytes in hex(n).

#include <string>
#include <string_view>

#include "platform/reg_hive.h"
#include "base/result.h"

namespace trawlex::platform {

inline constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";

// rootName is the hive's full name, e.g. "HKEY_CURRENT_USER"; every section must lie
// under it. fileName only labels errors ("<file>:<line>: <what>"). An empty text is an
// empty hive.
Result<RegHive> ParseRegText(std::string_view text, std::string_view rootName,
                             std::string_view fileName);

std::string FormatRegText(const RegHive& hive, std::string_view rootName);

}  // namespace trawlex::platform
