#pragma once
// The add-in object a host editor creates from an add-in library, and the C entry points
// every add-in library exports. The objects cross the library boundary as C++ objects, so a
// host loads only a library built against the same interface: the library reports the
// interface version it was built with, and the host refuses any other.

namespace trawlex::host {

class HostApp;

// Raised whenever AddinInstance, HostApp or any type they pass changes shape.
inline constexpr int kAddinInterfaceVersion = 2;

// How the host came to connect the add-in.
enum ConnectMode : int {
    ext_cm_AfterStartup = 0,
    ext_cm_Startup = 1,
    ext_cm_External = 2,
    ext_cm_CommandLine = 3,
};

// Why the host disconnects it.
enum DisconnectMode : int {
    ext_dm_HostShutdown = 0,
    ext_dm_UserClosed = 1,
};

class AddinInstance {
  public:
    virtual ~AddinInstance() = default;
    virtual void OnConnection(HostApp& host, ConnectMode mode) = 0;
    virtual void OnDisconnection(DisconnectMode mode) = 0;
};

}  // namespace trawlex::host

// Exported with C linkage by every add-in library.
extern "C" {
// trawlex::host::kAddinInterfaceVersion as the library was built.
int TrawlexAddinInterfaceVersion();
// 0 on success, non-zero on failure.
int DllRegisterServer();
int DllUnregisterServer();
// The add-in object for a ProgID this library serves, or nullptr. The caller owns it.
trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId);
}
