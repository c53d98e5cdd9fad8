#pragma once
// The add-in libraries this system places, registers and removes.

#include <string_view>

namespace trawlex::registration {

struct AddinLibrary {
    std::string_view fileName;      // in the system directory
    std::string_view progId;        // its class and the name of its VBE record
    std::string_view friendlyName;  // the VBE record's FriendlyName; empty: none is written
    std::string_view section;       // settings section of "quillfen" it owns; empty: none
};

inline constexpr std::string_view kSettingsApp = "quillfen";

inline constexpr AddinLibrary kMainLibrary{"trawlex.dll", "Trawlex.Connect", "Trawlex Plus",
                                           "Trawlex"};
inline constexpr AddinLibrary kUpdaterLibrary{"trawlexup.dll", "Trawlex.Update",
                                              "Trawlex Plus Updater", ""};
// The older edition: only ever removed.
inline constexpr AddinLibrary kOlderEdition{"trawlex6.dll", "Trawlex6.Connect", "", "Trawlex6"};

}  // namespace trawlex::registration
