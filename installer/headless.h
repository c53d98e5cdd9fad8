#pragma once
// The installer without windows, for scripts, tests and machines without a display:
//   install --install     UninstallAll, then InstallAddins from the current directory
//   install --uninstall   UninstallAll
//   install --check       prints the check rows; exit 0 when installation is possible
// Exit status 0 on success, 1 when the operation failed (stderr names each failed step),
// 2 on a usage error.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace trawlex::installer {

enum class HeadlessAction { Install, Uninstall, Check, Help };

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct ParsedArguments {
    std::optional<HeadlessAction> action;  // none: the windows
    bool usageError = false;
};

// Arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// `folder` is the one holding the libraries (the current directory).
int RunHeadless(HeadlessAction action, const std::string& folder, std::ostream& out,
                std::ostream& err);

void PrintUsage(std::ostream& out);

}  // namespace trawlex::installer
