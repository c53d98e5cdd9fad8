#pragma once
// The install-options window's checks: the two host editors (informative only) and the two
// library files beside the installer, which decide whether installation is possible.

#include <functional>
#include <string>

namespace trawlex::installer {

struct CheckRow {
    std::string text;  // e.g. "Visual Basic 6.0 [OK]"
    bool passed = false;
};

// The value "HKLM\SOFTWARE\Microsoft\Visual Basic\6.0\External Tools\HTML Editor" is set.
bool HasVisualBasic6();

// "%ProgramFiles%/Common Files/Microsoft Shared/VBA/VBA6/vbe6.dll" exists.
bool HasOfficeVbaEditor();

// Runs the checks in their order, handing each row to `addRow` as it is made and calling
// `pause` with the milliseconds to wait between them; a `pause` that returns false stops the
// checks. The updater library is tested only when the main library passed. Returns whether
// installation is possible: both library files are in `folder`.
bool RunInstallChecks(const std::string& folder, const std::function<void(const CheckRow&)>& addRow,
                      const std::function<bool(int milliseconds)>& pause);

}  // namespace trawlex::installer
