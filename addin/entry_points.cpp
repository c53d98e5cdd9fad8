// The library's exported entry points: self-registration and the add-in object factory.
// ProgIDs, like registry keys, compare without ASCII case.

#include "addin/connect.h"
#include "addin/product_info.h"
#include "base/ascii_case.h"
#include "host/self_registration.h"

using trawlex::addin::kProgId;

extern "C" int DllRegisterServer() {
    return trawlex::host::RegisterLibraryOf(kProgId,
                                            reinterpret_cast<const void*>(&DllRegisterServer))
               ? 0
               : 1;
}

extern "C" int DllUnregisterServer() {
    return trawlex::host::UnregisterAddinLibrary(kProgId) ? 0 : 1;
}

extern "C" trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    if (!progId || !trawlex::EqualsIgnoringCase(progId, kProgId)) return nullptr;
    return new trawlex::addin::Connect;
}
