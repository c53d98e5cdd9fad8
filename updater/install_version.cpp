#include "updater/install_version.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "registration/registration.h"
#include "updater/library_check.h"
#include "updater/update_request.h"

namespace trawlex::updater {

namespace {

using registration::Outcome;

std::string Described(const Outcome& outcome) {
    std::string text;
    for (const registration::StepFailure& failure : outcome.failures()) {
        if (!text.empty()) text += "; ";
        text += failure.step + ": " + failure.description;
    }
    return text;
}

void RenameOver(const std::string& from, const std::string& to, const std::string& step,
                Outcome& outcome) {
    if (rename(from.c_str(), to.c_str()) != 0) {
        outcome.Add({step, "cannot rename " + from + " to " + to + ": " + std::strerror(errno),
                     registration::ErrorNumberFromErrno(errno)});
    }
}

// A second name for the old library, kept until the new one is registered.
Status KeepOldLibrary(const std::string& target, const std::string& kept) {
    unlink(kept.c_str());
    if (link(target.c_str(), kept.c_str()) == 0) return {};
    Outcome copied;
    if (registration::CopyFileAtomically(target, kept, "keep the installed library", copied)) {
        return {};
    }
    return Failure{"write failure: " + Described(copied)};
}

}  // namespace

Status InstallVersion(UpdateRequest& request, const std::string& key) {
    Result<QByteArray> library = request.Download(key);
    if (!library) return Failure{"the download of version " + key + " failed: " + library.error()};

    const std::string target = registration::SystemFilePath(kMainLibraryFile);
    const std::string staged = target + ".download";
    const std::string kept = target + ".previous";
    Outcome written;
    if (!registration::WriteFileAtomically(
            staged, std::string_view(library->constData(), static_cast<size_t>(library->size())),
            "write the downloaded library", written)) {
        return Failure{"write failure: " + Described(written)};
    }
    if (Status checked = VerifyAddinLibrary(staged); !checked) {
        unlink(staged.c_str());
        return checked;
    }
    const bool hadLibrary = registration::FileExists(target);
    if (hadLibrary) {
        if (Status keptOld = KeepOldLibrary(target, kept); !keptOld) {
            unlink(staged.c_str());
            return keptOld;
        }
    }

    Outcome installed = registration::ReregisterMainLibrary([&](Outcome& outcome) {
        RenameOver(staged, target, "put the new library in place", outcome);
    });
    if (installed) {
        unlink(kept.c_str());
        return {};
    }

    // Back to the library that was there, registered as before.
    Outcome restored = registration::ReregisterMainLibrary([&](Outcome& outcome) {
        if (hadLibrary) {
            RenameOver(kept, target, "put the previous library back", outcome);
        } else {
            registration::DeleteFileIfPresent(target, "remove the new library", outcome);
        }
    });
    unlink(staged.c_str());
    std::string reason = "the installation of version " + key + " failed: " + Described(installed);
    if (!restored) reason += "; restoring the previous library failed too: " + Described(restored);
    return Failure{reason};
}

}  // namespace trawlex::updater
