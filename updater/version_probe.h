#pragma once
// The probe of the update server: which versions of the main library exist. Versions are
// numbered without gaps: majors from 3 upward, minors from 00 upward; a major's series ends
// at its first missing minor, and the whole series at the first major without minor 00.

#include <functional>
#include <string>
#include <vector>

#include "base/result.h"
#include "updater/version_key.h"

namespace trawlex::updater {

inline constexpr int kFirstMajor = 3;
inline constexpr int kMaxProbes = 1000;

struct ProbeResult {
    // In the order probed.
    std::vector<Version> versions;
    // Index into versions of the updater's own version; -1 when the server lacks it.
    int selected = -1;
    // The list offers nothing newer than the updater: it is empty, or the updater's own
    // version is the last one found.
    bool nothingNewer() const {
        return versions.empty() || selected == static_cast<int>(versions.size()) - 1;
    }
};

// `exists` answers whether the server holds a version (its failure, such as an unreachable
// server or a cancelled probe, ends the probe with that failure).
Result<ProbeResult> ProbeVersions(const std::function<Result<bool>(Version)>& exists,
                                  Version current);

}  // namespace trawlex::updater
