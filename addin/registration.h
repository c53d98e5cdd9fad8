#pragma once
// Self-registration of the main add-in: the COM-style class record that leads the loader to
// the library, and the Visual Basic 6.0 add-in record that makes the environment list and
// load it.

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::addin {

// HKCU\Software\Microsoft\Visual Basic\6.0\Addins\Trawlex.Connect\ (with its backslash).
std::string Vb6AddinKey();

// The record's description: CR LF between lines, and the one lone CR the product has always
// carried after "Office".
std::string AddinDescription();

// Writes the class record (the library at `libraryPath`, absolute) and the add-in record:
// FriendlyName, Description, LoadBehavior 1 (load at start-up), CommandLineSafe 0.
Status RegisterAddin(std::string_view libraryPath);

// Removes both records. Records already absent count as removed; it fails only when a
// record is still there afterwards.
Status UnregisterAddin();

}  // namespace trawlex::addin
