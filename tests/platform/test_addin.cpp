// An add-in library for the tests. It registers the class record and a VB6 add-in record,
// and its add-in object writes what happens to it into the registry so a test can see it.
// TRAWLEX_TEST_ADDIN_FAIL=1 in the environment makes both entry points fail. Built with
// TRAWLEX_TEST_PROGID defined, it is a second add-in with that ProgID.

#include <cstdlib>
#include <string>

#include "host/addin_instance.h"
#include "host/addin_loader.h"
#include "host/host_app.h"
#include "platform/registry.h"

namespace {

using namespace trawlex;

#ifndef TRAWLEX_TEST_PROGID
#define TRAWLEX_TEST_PROGID "TrawlexTest.Connect"
#endif
constexpr const char* kProgId = TRAWLEX_TEST_PROGID;
constexpr const char* kAddinRecord =
    "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\" TRAWLEX_TEST_PROGID "\\";
constexpr const char* kTrace = "HKCU\\Software\\TrawlexTest\\";

bool AskedToFail() {
    const char* fail = std::getenv("TRAWLEX_TEST_ADDIN_FAIL");
    return fail && std::string(fail) == "1";
}

// The trace is best effort: a test that reads it fails on what is missing.
void Trace(const std::string& name, const std::string& value, const char* type = "REG_SZ") {
    static_cast<void>(platform::RegWrite(std::string(kTrace) + name, value, type));
}

class TestAddin : public host::AddinInstance {
  public:
    TestAddin() { Trace("Created", "1"); }
    ~TestAddin() override { Trace("Destroyed", "1"); }

    void OnConnection(host::HostApp& hostApp, host::ConnectMode mode) override {
        Result<std::string> name = hostApp.DefaultValue();
        Trace("HostName", name ? *name : name.error());
        Trace("ConnectMode", std::to_string(mode), "REG_DWORD");
    }
    void OnDisconnection(host::DisconnectMode mode) override {
        Trace("DisconnectMode", std::to_string(mode), "REG_DWORD");
    }
};

}  // namespace

extern "C" int DllRegisterServer() {
    if (AskedToFail()) return 7;
    const std::string path =
        platform::ThisLibraryPath(reinterpret_cast<const void*>(&DllRegisterServer));
    if (path.empty() || !platform::RegisterClass(kProgId, path)) return 1;
    const std::string record = kAddinRecord;
    bool ok = platform::RegWrite(record + "FriendlyName", "Trawlex Test Add-in") &&
              platform::RegWrite(record + "Description", "テスト用のアドイン") &&
              platform::RegWrite(record + "LoadBehavior", "3", "REG_DWORD");
    return ok ? 0 : 1;
}

extern "C" int DllUnregisterServer() {
    if (AskedToFail()) return 7;
    const bool classGone = platform::UnregisterClass(kProgId).ok();
    const bool recordGone = platform::RegDeleteTree(kAddinRecord).ok();
    return classGone && recordGone ? 0 : 1;
}

extern "C" host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    if (std::string(progId) != kProgId) return nullptr;
    return new TestAddin;
}
