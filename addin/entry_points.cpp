// The library's exported entry points: self-registration and the add-in object factory.
// ProgIDs, like registry keys, compare without ASCII case.

#include "addin/connect.h"
#include "addin/product_info.h"
#include "addin/registration.h"
#include "base/ascii_case.h"
#include "host/addin_loader.h"

extern "C" int TrawlexAddinInterfaceVersion() {
    return trawlex::host::kAddinInterfaceVersion;
}

extern "C" int DllRegisterServer() {
    const std::string path =
        trawlex::platform::ThisLibraryPath(reinterpret_cast<const void*>(&DllRegisterServer));
    if (path.empty()) return 1;
    return trawlex::addin::RegisterAddin(path) ? 0 : 1;
}

extern "C" int DllUnregisterServer() {
    return trawlex::addin::UnregisterAddin() ? 0 : 1;
}

extern "C" trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    if (!progId || !trawlex::EqualsIgnoringCase(progId, trawlex::addin::kProgId)) {
        return nullptr;
    }
    return new trawlex::addin::Connect;
}
