#include "updater/main_addin.h"

#include "host/host_app.h"
#include "updater/library_check.h"

namespace trawlex::updater {

void SetMainAddinLoaded(host::HostApp* host, bool loaded) {
    if (!host) return;
    Result<std::shared_ptr<host::Addins>> addins = host->Addins();
    if (!addins || !*addins) return;
    Result<std::shared_ptr<host::Addin>> addin = (*addins)->Item(kMainProgId);
    if (!addin || !*addin) return;
    // A host that refuses one assignment still gets the other.
    (void)(*addin)->SetInstalled(loaded);
    (void)(*addin)->SetConnect(loaded);
}

}  // namespace trawlex::updater
