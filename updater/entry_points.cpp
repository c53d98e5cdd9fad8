// The updater library's exported entry points: self-registration and the add-in object
// factory. ProgIDs, like registry keys, compare without ASCII case.

#include "base/ascii_case.h"
#include "host/self_registration.h"
#include "updater/update.h"

using trawlex::updater::kUpdaterProgId;

extern "C" int DllRegisterServer() {
    return trawlex::host::RegisterLibraryOf(kUpdaterProgId,
                                            reinterpret_cast<const void*>(&DllRegisterServer))
               ? 0
               : 1;
}

extern "C" int DllUnregisterServer() {
    return trawlex::host::UnregisterAddinLibrary(kUpdaterProgId) ? 0 : 1;
}

extern "C" trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    if (!progId || !trawlex::EqualsIgnoringCase(progId, kUpdaterProgId)) return nullptr;
    return new trawlex::updater::Update;
}
