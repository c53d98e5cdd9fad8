#pragma once
// The add-in records of a host flavour in the registry:
//   <AddinsKey>\<ProgID>\FriendlyName, Description   texts shown in the Add-In Manager
//   <AddinsKey>\<ProgID>\LoadBehavior                 dword; bit 1 = load at start-up
// Visual Basic 6.0 writes 0 (none), 1 (start-up), 2 (command line) or 3 (both); the Office
// editor writes 0 or 3. Both flavours load an add-in at start-up when bit 1 is set.

#include <string>
#include <vector>

#include "base/result.h"
#include "vbide/ide_flavour.h"

namespace trawlex::vbide {

inline constexpr unsigned kLoadAtStartup = 1;

struct AddinRecord {
    std::string progId;
    std::string friendlyName;  // the ProgID when the record has none
    std::string description;
    unsigned loadBehavior = 0;
    bool LoadAtStartup() const { return (loadBehavior & kLoadAtStartup) != 0; }
};

// Every record of the flavour, sorted by ProgID (ignoring case); none when the key is missing.
std::vector<AddinRecord> ListAddinRecords(Flavour flavour);
// Fails when the flavour has no record for the ProgID.
Result<AddinRecord> ReadAddinRecord(Flavour flavour, const std::string& progId);
// Sets or clears the start-up bit, keeping the other bits.
Status SetLoadAtStartup(Flavour flavour, const std::string& progId, bool load);

}  // namespace trawlex::vbide
