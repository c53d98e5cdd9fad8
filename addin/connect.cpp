#include "addin/connect.h"

#include <array>
#include <string>

#include "addin/command_faces.h"
#include "addin/commands.h"
#include "addin/product_info.h"
#include "addin/shared_state.h"
#include "host/host_app.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "window/control_settings.h"
#include "window/frm_add_in.h"

namespace trawlex::addin {

namespace {

constexpr const char* kStandardBar = "標準";
// The template a connection starts with when "BootEditor" is absent. Opening a file hit
// reads the setting again with its own default, window::kDefaultEditorTemplate (%p quoted).
constexpr const char* kConnectionEditorTemplate = "notepad %p";

struct CommandDefinition {
    const char* bar;
    bool beforeLast;
    std::string caption;
    int face;
    void (*run)();
};

// In the order the commands are made.
const std::array<CommandDefinition, 5>& CommandLayout() {
    static const std::array<CommandDefinition, 5> commands = {{
        {kStandardBar, true, kTitle, kProductFace, RunSearchCommand},
        {kStandardBar, true, std::string(kTitle) + "の ｵﾌﾟｼｮﾝ", kOptionsFace, ShowOptionsDialog},
        {"Add-Ins", false, std::string("&") + kTitle, kProductFace, RunSearchCommand},
        {"Tools", false, std::string("&") + kTitle + "の ｵﾌﾟｼｮﾝ", kOptionsFace, ShowOptionsDialog},
        {"Help", false, std::string("&") + kTitle + "の ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ", kProductFace,
         ShowVersionDialog},
    }};
    return commands;
}

// Disconnection removes the menu item before the button of the same command.
constexpr int kRemovalOrder[] = {2, 0, 3, 1, 4};

// How many add-in objects of this library exist; the shared windows go with the last.
int liveConnects = 0;
// The object whose connection set the shared host. An older object of the same host may be
// destroyed after a newer one connected (a host unloading the library late).
const Connect* latestConnection = nullptr;

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

Connect::Connect() {
    ++liveConnects;
}

Connect::~Connect() {
    // The commands stay where a host that never disconnected left them; their click
    // bindings end with this object.
    if (latestConnection == this) {
        latestConnection = nullptr;
        SharedHost().SetTarget(nullptr);
    }
    if (--liveConnects == 0) ReleaseWindows();
}

void Connect::OnConnection(host::HostApp& host, host::ConnectMode mode) {
    SetEditorTemplate(platform::GetSetting(window::kSettingsApp, window::kSettingsSection,
                                           "BootEditor", kConnectionEditorTemplate));
    if (mode == host::ext_cm_External) return;

    // From here on each step that fails is left out and the next one runs.
    host_ = &host;
    SharedHost().SetTarget(&host);
    latestConnection = this;

    std::string folder = CurrentFolder();
    if (Result<std::string> lastUsed = host.LastUsedPath()) folder = *lastUsed;
    if (folder.empty()) folder = platform::SpecialFolder("MyDocuments");
    SetCurrentFolder(WithTrailingSeparator(folder));

    // A host that connects twice without disconnecting still ends up with one set.
    RemoveCommands();
    for (int i = 0; i < kCommandCount; ++i) {
        const CommandDefinition& definition = CommandLayout()[i];
        commands_[i].Add(host, definition.bar, definition.beforeLast, definition.caption,
                         CommandFace(definition.face), definition.run);
    }
}

void Connect::OnDisconnection(host::DisconnectMode) {
    RemoveCommands();
    if (window::frmAddIn* window = ExistingSearchWindow()) window->close();
}

void Connect::RemoveCommands() {
    for (int i : kRemovalOrder) commands_[i].Remove();
    // One more try for a control the host refused to delete.
    for (int i : kRemovalOrder) {
        commands_[i].Remove();
        commands_[i].ForgetControl();
    }
}

}  // namespace trawlex::addin
