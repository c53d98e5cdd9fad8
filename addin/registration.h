#pragma once
// Self-registration of the main add-in (see host/self_registration.h for what is written).

#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::addin {

// HKCU\Software\Microsoft\Visual Basic\6.0\Addins\Trawlex.Connect\ (with its backslash).
std::string Vb6AddinKey();

Status RegisterAddin(std::string_view libraryPath);
Status UnregisterAddin();

}  // namespace trawlex::addin
