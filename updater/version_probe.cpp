#include "updater/version_probe.h"

namespace trawlex::updater {

Result<ProbeResult> ProbeVersions(const std::function<Result<bool>(Version)>& exists,
                                  Version current) {
    ProbeResult result;
    Version version{kFirstMajor, 0};
    for (int probes = 0;; ++probes) {
        // A server that answers every request as present would keep the probe going forever.
        if (probes == kMaxProbes) {
            return Failure{"the server reports more than " + std::to_string(kMaxProbes) +
                           " versions; it answers every request as present"};
        }
        Result<bool> found = exists(version);
        if (!found) return Failure{found.error()};
        if (*found) {
            if (version == current) result.selected = static_cast<int>(result.versions.size());
            result.versions.push_back(version);
            ++version.minor;
        } else if (version.minor == 0) {
            return result;
        } else {
            version = {version.major + 1, 0};
        }
    }
}

}  // namespace trawlex::updater
