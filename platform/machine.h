#pragma once
// The folder that stands for the Windows machine: registry hives, the system
// directory and Program Files all live under it, so every program of the system
// sees one and the same machine.

#include <string>

#include "base/result.h"

namespace trawlex::platform {

// $TRAWLEX_ROOT when set, else $XDG_DATA_HOME/trawlex, else ~/.local/share/trawlex.
// Created on demand. No trailing separator.
std::string MachineRoot();

// MachineRoot()/system32, created on demand, no trailing separator.
std::string GetSystemDir();

// $ProgramFiles when the environment sets it, else MachineRoot()/Program Files (created).
std::string ProgramFilesDir();

// Creates a folder and its missing parents (like mkdir -p).
Status MakeDirectories(const std::string& path);

}  // namespace trawlex::platform
