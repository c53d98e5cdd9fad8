#include "addin/registration.h"

#include "addin/product_info.h"
#include "host/self_registration.h"

namespace trawlex::addin {

std::string Vb6AddinKey() {
    return host::Vb6AddinKey(kProgId);
}

Status RegisterAddin(std::string_view libraryPath) {
    return host::RegisterAddinLibrary(kProgId, libraryPath);
}

Status UnregisterAddin() {
    return host::UnregisterAddinLibrary(kProgId);
}

}  // namespace trawlex::addin
