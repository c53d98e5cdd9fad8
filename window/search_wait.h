#pragma once
// The window's searches go on in slices from the event loop: for tools and tests that need
// one to have ended before they go on.

#include <QEventLoop>
#include <QPointer>

#include "window/frm_add_in.h"

namespace trawlex::window {

// Runs the event loop until the window's search has ended (or the window is gone).
inline void WaitForSearch(frmAddIn& window) {
    if (!window.IsSearching()) return;
    QEventLoop loop;
    QObject::connect(&window, &frmAddIn::SearchFinished, &loop, &QEventLoop::quit);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

// Clicks the start button and waits for the search to end.
inline void RunSearch(frmAddIn& window) {
    window.cmdSearchStart_Click();
    WaitForSearch(window);
}

}  // namespace trawlex::window
