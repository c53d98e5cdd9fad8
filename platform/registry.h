#pragma once
// The registry as WScript.Shell offers it. Paths name a hive and a key:
//   "HKCU\Software\Vendor\Key\"       the key's default value (trailing backslash)
//   "HKCU\Software\Vendor\Key\Name"   the value "Name" of that key
// Hives: HKEY_CURRENT_USER (HKCU), HKEY_LOCAL_MACHINE (HKLM), and HKEY_CLASSES_ROOT
// (HKCR), which is HKCU\Software\Classes. Key and value names compare without case and
// keep the case they were created with. Each hive is a .reg text file under MachineRoot();
// changes are locked read-modify-writes replaced atomically, so several processes may
// use the registry at once. Nothing here throws.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace trawlex::platform {

// The value's data as text; a REG_DWORD reads as its decimal text.
Result<std::string> RegRead(std::string_view path);

// type: "REG_SZ", "REG_EXPAND_SZ" or "REG_DWORD" (value is decimal or 0x-hex text that
// must fit in 32 bits). Missing keys are created.
Status RegWrite(std::string_view path, std::string_view value, std::string_view type = "REG_SZ");

// A value path deletes the value; a key path deletes the key, which must have no subkeys.
Status RegDelete(std::string_view path);

// Names of the direct subkeys of a key (the path may end in a backslash or not), in the
// case they were created with, sorted without case.
Result<std::vector<std::string>> RegSubKeys(std::string_view keyPath);

// Names of the values of a key; the default value, when set, is listed as "".
Result<std::vector<std::string>> RegValueNames(std::string_view keyPath);

// Whether the key exists (false also when the hive cannot be read).
bool RegKeyExists(std::string_view keyPath);

// Deletes a key together with all its subkeys (for uninstall-style cleanup).
Status RegDeleteTree(std::string_view keyPath);

}  // namespace trawlex::platform
