#pragma once
// The space cleanup: lines of the host's code that hold nothing but blanks are made truly
// empty, through the host editor interface. A blank is U+0020 only (as VB's Trim sees it):
// a tab or an ideographic space makes a line non-blank. Other lines are never touched.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex::host {

class CodeModule;
class HostApp;

struct CleanupCounts {
    std::int32_t emptied = 0;  // lines replaced by an empty line
    std::int32_t refused = 0;  // lines whose replacement the host refused
};

// How a run went: the counts, and when a host call other than a line replacement failed,
// why the run stopped (lines emptied before that stay emptied and are counted).
struct CleanupOutcome {
    CleanupCounts counts;
    bool stopped = false;
    std::string reason;
};

// Not empty and nothing but U+0020.
bool IsSpaceOnlyLine(std::string_view line);

// One module: a module with an empty name is skipped. A refused ReplaceLine counts and the
// pass goes on; any other failing call ends the pass with that failure.
Status ClearSpaceOnlyLines(CodeModule& module, CleanupCounts& counts);

// Every code module of the active project.
CleanupOutcome ClearSpaceInProject(HostApp& host);
// The modules of the active project that are open in a code pane; a module open in two
// panes is passed twice (the second pass finds nothing left).
CleanupOutcome ClearSpaceInOpenPanes(HostApp& host);

// The closing message box of a run, as UTF-8.
struct CleanupReport {
    std::string text;
    std::string title;
};
CleanupReport MakeCleanupReport(const CleanupOutcome& outcome);

}  // namespace trawlex::host
