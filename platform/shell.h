#pragma once
// Stand-ins for WScript.Shell (Run, SpecialFolders, ExpandEnvironmentStrings),
// ShellExecute "open" and Sleep. Programs are started directly, never through a shell.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace trawlex::platform {

// Splits a command line the Windows way: blanks (space, tab) separate arguments; double
// quotes group and are removed; a backslash is an ordinary character; inside quotes, ""
// stands for one literal quote. Shell characters (; $ ` | & < >) have no meaning.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// A bare name (no '/') is looked up in GetSystemDir() first, then on PATH; "name.exe" not
// found as such is looked up as "name". A name with a '/' is taken as a path. Returns
// the path of an executable regular file, or nothing.
std::optional<std::string> FindProgram(std::string_view name);

// SplitCommandLine + RunArgv. windowStyle is accepted and has no meaning here.
Result<int> Run(std::string_view command, int windowStyle = 1, bool wait = false);

// Starts argv[0] (found by FindProgram) with the other arguments. With wait, returns its
// exit code (128 + signal number when a signal ended it); without, 0 once it started.
// A program that cannot be started is a failure with a description.
Result<int> RunArgv(const std::vector<std::string>& argv, bool wait);

// Starts without waiting; whether it started (exec succeeded). The program is handed
// over to init through a double fork, so no zombie is left.
bool StartProcess(const std::vector<std::string>& argv);

// Opens a URL or document with xdg-open and waits for xdg-open's verdict.
Status ShellExecuteOpen(std::string_view target);

// "MyDocuments": the XDG documents folder; "Desktop": the XDG desktop folder (names
// ignore case). Any other name: "", as WScript.Shell gives for names it does not know.
std::string SpecialFolder(std::string_view name);

// Replaces %NAME% with the environment variable NAME (an exact match first, then one
// that differs only in case, as Windows names ignore case); %ProgramFiles% falls back to
// ProgramFilesDir(). Unknown names stay as written ("%NAME%") and the scan goes on after
// their closing "%". "%%" is no escape and stays "%%"; a lone "%" stays as it is.
std::string ExpandEnvironmentStrings(std::string_view text);

void Sleep(int milliseconds);

}  // namespace trawlex::platform
