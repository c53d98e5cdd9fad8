#pragma once
// Self-registration of an add-in library, as both libraries' DllRegisterServer and
// DllUnregisterServer do it: the COM-style class record that leads the loader to the
// library, and the Visual Basic 6.0 add-in record that makes the environment list and load
// it. Both libraries carry the product's display name and description there.

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::host {

inline constexpr const char* kProductName = "Trawlex Plus";
// The product's support page on the maker's web server.
inline constexpr const char* kSupportPageUrl = "https://www.quillfen.jp/tools/trawlex6/?version";

// HKCU\Software\Microsoft\Visual Basic\6.0\Addins\<ProgID>\ (with its backslash).
std::string Vb6AddinKey(std::string_view progId);

// The record's description: CR LF between lines, and the one lone CR the product has always
// carried after "Office".
std::string ProductDescription();

// Writes the class record (the library at `libraryPath`, absolute) and the add-in record:
// FriendlyName (the product name), Description, LoadBehavior 1 (load at start-up),
// CommandLineSafe 0.
Status RegisterAddinLibrary(std::string_view progId, std::string_view libraryPath);

// RegisterAddinLibrary for the library that holds `symbolInLibrary` (its DllRegisterServer).
Status RegisterLibraryOf(std::string_view progId, const void* symbolInLibrary);

// Removes both records. Records already absent count as removed; it fails only when a
// record is still there afterwards.
Status UnregisterAddinLibrary(std::string_view progId);

}  // namespace trawlex::host
