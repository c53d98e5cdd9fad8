// A library that looks like the main add-in to the download check (the three entry points,
// an object for "Trawlex.Connect") but whose self-registration fails, as a broken build of
// it would.

#include <string>

#include "host/addin_instance.h"

namespace {

class IdleAddin : public trawlex::host::AddinInstance {
  public:
    void OnConnection(trawlex::host::HostApp&, trawlex::host::ConnectMode) override {}
    void OnDisconnection(trawlex::host::DisconnectMode) override {}
};

}  // namespace

extern "C" int DllRegisterServer() {
    return 5;
}

extern "C" int DllUnregisterServer() {
    return 0;
}

extern "C" trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    return progId && std::string(progId) == "Trawlex.Connect" ? new IdleAddin : nullptr;
}
