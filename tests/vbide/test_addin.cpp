// A tiny add-in for the editor's tests: on connection it puts one button before the last
// control of "標準", with a red face from the clipboard, and logs every call it receives.
// The log is read through VbideTestAddinLog by a test that opens this library itself.

#include <QObject>
#include <memory>
#include <string>

#include "host/addin_instance.h"
#include "host/addin_loader.h"
#include "host/host_app.h"

namespace {

constexpr const char* kProgId = "VbideTest.Connect";
std::string g_log;

void Log(const std::string& entry) {
    g_log += entry + ";";
}

// Deleted later by the add-in; its code lives in this library.
class Leftover : public QObject {
  public:
    ~Leftover() override { Log("leftover gone"); }
};

class TestAddin : public trawlex::host::AddinInstance {
  public:
    void OnConnection(trawlex::host::HostApp& host, trawlex::host::ConnectMode mode) override {
        Log("connect " + std::to_string(mode));
        leftover_ = new Leftover;
        auto bars = host.CommandBars();
        if (!bars) return;
        auto bar = (*bars)->Item("標準");
        if (!bar) return;
        auto controls = (*bar)->Controls();
        if (!controls) return;
        auto count = (*controls)->Count();
        auto button = (*controls)->Add(trawlex::host::msoControlButton, count.value_or(0));
        if (!button) return;
        button_ = *button;
        (void)button_->SetCaption("Test Button");
        trawlex::host::Bitmap red{16, 16, std::vector<std::uint8_t>(16 * 16 * 3, 0)};
        for (std::size_t i = 0; i < red.rgb.size(); i += 3) red.rgb[i] = 255;
        if (host.SetClipboardPicture(red)) (void)button_->PasteFace();
        auto events = host.Events();
        if (!events) return;
        auto source = (*events)->CommandBarEvents(button_);
        if (!source) return;
        if (auto sub = (*source)->OnClick([] { Log("click"); })) click_ = std::move(*sub);
    }
    void OnDisconnection(trawlex::host::DisconnectMode mode) override {
        Log("disconnect " + std::to_string(mode));
        if (button_) (void)button_->Delete();
        click_.Cancel();
        if (leftover_) leftover_->deleteLater();
        leftover_ = nullptr;
    }

  private:
    std::shared_ptr<trawlex::host::CommandBarControl> button_;
    trawlex::host::Subscription click_;
    Leftover* leftover_ = nullptr;
};

}  // namespace

extern "C" {

int TrawlexAddinInterfaceVersion() {
    return trawlex::host::kAddinInterfaceVersion;
}

int DllRegisterServer() {
    auto path = trawlex::platform::ThisLibraryPath(reinterpret_cast<const void*>(&Log));
    return trawlex::platform::RegisterClass(kProgId, path) ? 0 : 1;
}

int DllUnregisterServer() {
    return trawlex::platform::UnregisterClass(kProgId) ? 0 : 1;
}

trawlex::host::AddinInstance* TrawlexCreateAddin(const char* progId) {
    return std::string(progId) == kProgId ? new TestAddin : nullptr;
}

const char* VbideTestAddinLog() {
    return g_log.c_str();
}
void VbideTestAddinClearLog() {
    g_log.clear();
}
}
