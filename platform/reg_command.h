#pragma once
// The part of Windows' reg.exe that scripts need to keep add-in records:
//   reg add KEY (/v NAME | /ve) [/t TYPE] [/d DATA] [/f]
//   reg query KEY (/v NAME | /ve)
//   reg delete KEY [/v NAME | /ve] [/f]
// KEY is a full key path ("HKCU\Software\..."), with or without a trailing backslash.
// TYPE is REG_SZ (the default), REG_EXPAND_SZ or REG_DWORD. "add" always overwrites (there
// is no prompt; /f is accepted for scripts written for Windows). "delete" without a value
// removes the key with its subkeys.

#include <ostream>
#include <string>
#include <vector>

namespace trawlex::platform {

inline constexpr int kRegSuccess = 0;
inline constexpr int kRegFailure = 1;

// `args` are the words after the program name. Query prints the value's data and a line
// break to `out`; failures and usage go to `err`.
int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace trawlex::platform
