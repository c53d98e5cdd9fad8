#pragma once
// Telling the user that settings could not be saved. The store is left as it was (a write
// changes all of its keys or none), so what the user changed lives on only in the window.

#include "base/result.h"

class QWidget;

namespace trawlex::window {

// The first failed save of the process is shown in a modeless message box over `parent`
// with its reason; later ones are not shown again. Returns whether a box was shown; a
// saved `status` shows nothing.
bool ReportSettingsSaveFailure(const Status& status, QWidget* parent);

}  // namespace trawlex::window
