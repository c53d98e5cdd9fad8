#include "tests/fake_host/fake_host.h"

#include <algorithm>

#include "tests/fake_host/fake_state.h"

namespace trawlex::host::fake {
namespace {

// Where the Visual Basic 6.0 environment opens projects until the user picks a folder.
constexpr const char* kDefaultLastUsedPath = "C:\\Program Files\\Microsoft Visual Studio\\VB98";

}  // namespace

FakeHost::FakeHost(HostFlavour flavour) : state_(std::make_shared<FakeHostState>()) {
    state_->flavour = flavour;
    state_->lastUsedPath = kDefaultLastUsedPath;
    const std::pair<const char*, std::vector<const char*>> bars[] = {
        {kStandardBar, {"Open Project", "Save Project", "Start", "Object Browser"}},
        {kAddInsMenu, {"&Add-In Manager..."}},
        {kToolsMenu, {"&Add Procedure...", "&Options..."}},
        {kHelpMenu, {"&Contents", "&About Microsoft Visual Basic"}},
    };
    for (const auto& [name, captions] : bars) {
        auto bar = std::make_shared<FakeCommandBar>(state_, name);
        for (const char* caption : captions) bar->AddBuiltInControl(caption);
        state_->bars.push_back(std::move(bar));
    }
}

FakeHost::~FakeHost() = default;

Result<std::shared_ptr<CodePane>> FakeHost::ActiveCodePane() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.ActiveCodePane"));
    return std::shared_ptr<CodePane>(state_->activePane);
}

Result<std::shared_ptr<host::CodePanes>> FakeHost::CodePanes() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.CodePanes"));
    return MakeFakeCodePanes(state_);
}

Result<std::shared_ptr<VBProject>> FakeHost::ActiveVBProject() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.ActiveVBProject"));
    return std::shared_ptr<VBProject>(state_->activeProject);
}

Result<std::shared_ptr<host::CommandBars>> FakeHost::CommandBars() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.CommandBars"));
    return MakeFakeCommandBars(state_);
}

Result<std::shared_ptr<host::Events>> FakeHost::Events() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.Events"));
    return MakeFakeEvents(state_);
}

Result<std::shared_ptr<host::Addins>> FakeHost::Addins() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.Addins"));
    return MakeFakeAddins(state_);
}

Result<std::string> FakeHost::LastUsedPath() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.LastUsedPath"));
    if (state_->flavour == HostFlavour::OfficeEditor) {
        return Failure{"Object doesn't support this property or method"};
    }
    return state_->lastUsedPath;
}

Result<std::string> FakeHost::DefaultValue() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.DefaultValue"));
    if (state_->flavour == HostFlavour::OfficeEditor) {
        return Failure{"Object doesn't support this property or method"};
    }
    return std::string(kVisualBasic6DefaultValue);
}

Status FakeHost::SetClipboardPicture(const Bitmap& picture) {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.SetClipboardPicture"));
    if (picture.Empty() || !picture.Valid()) {
        return Failure{"The picture is empty or its pixels do not match its size"};
    }
    state_->clipboard = picture;
    return {};
}

Result<Bitmap> FakeHost::ClipboardPicture() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(state_, "HostApp.ClipboardPicture"));
    if (!state_->clipboard) return Failure{"The clipboard holds no picture"};
    return *state_->clipboard;
}

HostFlavour FakeHost::flavour() const {
    return state_->flavour;
}

std::shared_ptr<FakeProject> FakeHost::AddProject(std::string name) {
    state_->projects.push_back(std::make_shared<FakeProject>(state_, std::move(name)));
    if (!state_->activeProject) state_->activeProject = state_->projects.back();
    return state_->projects.back();
}

void FakeHost::SetActiveProject(const std::shared_ptr<FakeProject>& project) {
    state_->activeProject = project;
}

std::shared_ptr<FakeCodePane> FakeHost::OpenPane(const std::shared_ptr<FakeComponent>& component) {
    if (!component || !component->module()) return nullptr;
    auto pane = std::make_shared<FakeCodePane>(state_, component);
    pane->open_ = true;
    state_->openPanes.push_back(pane);
    if (!component->pane_ || component->pane_->closed()) component->pane_ = pane;
    ActivatePane(pane);
    return pane;
}

void FakeHost::ActivatePane(const std::shared_ptr<FakeCodePane>& pane) {
    if (pane && !pane->open()) return;
    state_->activePane = pane;
    if (pane) {
        if (auto component = pane->component()) state_->activeProject = component->project();
    }
}

void FakeHost::ClosePane(const std::shared_ptr<FakeCodePane>& pane) {
    if (!pane) return;
    pane->open_ = false;
    pane->closed_ = true;
    std::erase(state_->openPanes, pane);
    if (state_->activePane == pane) state_->activePane = nullptr;
}

void FakeHost::SetLastUsedPath(std::string path) {
    state_->lastUsedPath = std::move(path);
}

std::shared_ptr<FakeAddin> FakeHost::AddAddin(std::string progId, bool installed, bool connected) {
    state_->addins.push_back(
        std::make_shared<FakeAddin>(state_, std::move(progId), installed, connected));
    return state_->addins.back();
}

void FakeHost::FailMember(std::string member, std::string description) {
    state_->failures[std::move(member)] = std::move(description);
}

void FakeHost::RestoreMember(const std::string& member) {
    state_->failures.erase(member);
}

std::shared_ptr<FakeCommandBar> FakeHost::bar(std::string_view name) const {
    return FindBar(*state_, name);
}

std::vector<std::string> FakeHost::barNames() const {
    std::vector<std::string> names;
    for (const auto& bar : state_->bars) names.push_back(bar->name());
    return names;
}

std::shared_ptr<FakeCodePane> FakeHost::activePane() const {
    return state_->activePane;
}

std::vector<std::shared_ptr<FakeCodePane>> FakeHost::openPanes() const {
    return state_->openPanes;
}

std::shared_ptr<FakeProject> FakeHost::activeProject() const {
    return state_->activeProject;
}

std::shared_ptr<FakeAddin> FakeHost::addin(std::string_view progId) const {
    return FindAddin(*state_, progId);
}

std::optional<Bitmap> FakeHost::clipboardPicture() const {
    return state_->clipboard;
}

bool FakeHost::FireClick(const std::shared_ptr<CommandBarControl>& control) {
    auto fake = std::dynamic_pointer_cast<FakeControl>(control);
    if (!fake || !fake->BelongsTo(*state_) || fake->deleted()) return false;
    fake->click().Fire();
    return true;
}

}  // namespace trawlex::host::fake
