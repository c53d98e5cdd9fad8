#include "tests/fake_host/fake_code.h"

#include "tests/fake_host/fake_state.h"

namespace trawlex::host::fake {

class FakePaneWindow : public host::Window {
  public:
    FakePaneWindow(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeCodePane> pane)
        : host_(std::move(host)), pane_(std::move(pane)) {}

    Status SetFocus() override;

  private:
    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeCodePane> pane_;
};

namespace {

class FakeCodePanes : public host::CodePanes {
  public:
    explicit FakeCodePanes(std::weak_ptr<FakeHostState> host) : host_(std::move(host)) {}

    Result<int> Count() const override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodePanes.Count"));
        return static_cast<int>(host_.lock()->openPanes.size());
    }
    Result<std::shared_ptr<CodePane>> Item(int index) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodePanes.Item"));
        const auto& panes = host_.lock()->openPanes;
        if (index < 1 || index > static_cast<int>(panes.size())) {
            return OutOfRange("Code pane", index, static_cast<int>(panes.size()));
        }
        return std::shared_ptr<CodePane>(panes[index - 1]);
    }

  private:
    std::weak_ptr<FakeHostState> host_;
};

class FakeComponents : public host::VBComponents {
  public:
    FakeComponents(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeProject> project)
        : host_(std::move(host)), project_(std::move(project)) {}

    Result<int> Count() const override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBComponents.Count"));
        auto project = project_.lock();
        if (!project) return Failure{"The project has been closed"};
        return static_cast<int>(project->components().size());
    }
    Result<std::shared_ptr<VBComponent>> Item(int index) override {
        TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBComponents.Item"));
        auto project = project_.lock();
        if (!project) return Failure{"The project has been closed"};
        const auto& components = project->components();
        if (index < 1 || index > static_cast<int>(components.size())) {
            return OutOfRange("Component", index, static_cast<int>(components.size()));
        }
        return std::shared_ptr<VBComponent>(components[index - 1]);
    }

  private:
    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeProject> project_;
};

}  // namespace

// --- FakeCodeModule

FakeCodeModule::FakeCodeModule(std::weak_ptr<FakeHostState> host, std::string name,
                               std::string_view text)
    : host_(std::move(host)), name_(std::move(name)), model_(CodeModuleModel::FromText(text)) {}

Result<std::string> FakeCodeModule::Name() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.Name"));
    return name_;
}

Result<int> FakeCodeModule::CountOfLines() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.CountOfLines"));
    return model_.CountOfLines();
}

Result<int> FakeCodeModule::CountOfDeclarationLines() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.CountOfDeclarationLines"));
    return model_.CountOfDeclarationLines();
}

Result<std::string> FakeCodeModule::Lines(int first, int count) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.Lines"));
    return model_.Lines(first, count);
}

Result<ProcRef> FakeCodeModule::ProcOfLine(int line) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.ProcOfLine"));
    return model_.ProcOfLine(line);
}

Result<int> FakeCodeModule::ProcStartLine(std::string_view name, ProcKind kind) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.ProcStartLine"));
    return model_.ProcStartLine(name, kind);
}

Result<int> FakeCodeModule::ProcCountLines(std::string_view name, ProcKind kind) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.ProcCountLines"));
    return model_.ProcCountLines(name, kind);
}

Status FakeCodeModule::ReplaceLine(int line, std::string_view text) {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "CodeModule.ReplaceLine"));
    if (readOnly_) return Failure{"The module " + name_ + " is write-protected"};
    return model_.ReplaceLine(line, text);
}

// --- FakeCodePane

FakeCodePane::FakeCodePane(std::weak_ptr<FakeHostState> host,
                           std::weak_ptr<FakeComponent> component)
    : host_(std::move(host)), component_(std::move(component)) {}

Status FakeCodePane::Check(const char* member) const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, member));
    if (closed_) return Failure{"The code pane has been closed"};
    if (component_.expired()) return Failure{"The component has been removed"};
    return {};
}

Result<Selection> FakeCodePane::GetSelection() const {
    TRAWLEX_RETURN_IF_FAILED(Check("CodePane.GetSelection"));
    return selection_;
}

Status FakeCodePane::SetSelection(const Selection& selection) {
    TRAWLEX_RETURN_IF_FAILED(Check("CodePane.SetSelection"));
    const int lines = std::max(1, component_.lock()->module()->model().CountOfLines());
    for (int line : {selection.startLine, selection.endLine}) {
        if (line < 1 || line > lines) return OutOfRange("Line", line, lines);
    }
    if (selection.startColumn < 1 || selection.endColumn < 1) {
        return Failure{"Columns start at 1"};
    }
    selection_ = selection;
    return {};
}

Status FakeCodePane::Show() {
    TRAWLEX_RETURN_IF_FAILED(Check("CodePane.Show"));
    auto state = host_.lock();
    auto self = shared_from_this();
    if (!open_) {
        open_ = true;
        state->openPanes.push_back(self);
    }
    state->activePane = self;
    state->activeProject = component_.lock()->project();
    ++showCount_;
    return {};
}

Result<std::shared_ptr<host::Window>> FakeCodePane::Window() {
    TRAWLEX_RETURN_IF_FAILED(Check("CodePane.Window"));
    return std::shared_ptr<host::Window>(std::make_shared<FakePaneWindow>(host_, weak_from_this()));
}

Result<std::shared_ptr<host::CodeModule>> FakeCodePane::CodeModule() {
    TRAWLEX_RETURN_IF_FAILED(Check("CodePane.CodeModule"));
    return std::shared_ptr<host::CodeModule>(component_.lock()->module());
}

Status FakePaneWindow::SetFocus() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "Window.SetFocus"));
    auto pane = pane_.lock();
    if (!pane || pane->closed()) return Failure{"The code window has been closed"};
    if (!pane->open()) return Failure{"The code window is not shown"};
    host_.lock()->activePane = pane;
    ++pane->focusCount_;
    return {};
}

// --- FakeComponent

FakeComponent::FakeComponent(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeProject> project,
                             std::string name, std::optional<std::string_view> text)
    : host_(std::move(host)), project_(std::move(project)), name_(std::move(name)) {
    if (text) module_ = std::make_shared<FakeCodeModule>(host_, name_, *text);
}

Result<std::string> FakeComponent::Name() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBComponent.Name"));
    return name_;
}

Result<std::shared_ptr<host::CodeModule>> FakeComponent::CodeModule() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBComponent.CodeModule"));
    if (!module_) return Failure{"The component " + name_ + " has no code module"};
    return std::shared_ptr<host::CodeModule>(module_);
}

Result<std::shared_ptr<host::CodePane>> FakeComponent::CodePane() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBComponent.CodePane"));
    if (!module_) return Failure{"The component " + name_ + " has no code module"};
    if (!pane_ || pane_->closed()) pane_ = std::make_shared<FakeCodePane>(host_, weak_from_this());
    return std::shared_ptr<host::CodePane>(pane_);
}

// --- FakeProject

FakeProject::FakeProject(std::weak_ptr<FakeHostState> host, std::string name)
    : host_(std::move(host)), name_(std::move(name)) {}

Result<std::string> FakeProject::Name() const {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBProject.Name"));
    return name_;
}

Result<std::shared_ptr<host::VBComponents>> FakeProject::VBComponents() {
    TRAWLEX_RETURN_IF_FAILED(CheckMember(host_, "VBProject.VBComponents"));
    return std::shared_ptr<host::VBComponents>(
        std::make_shared<FakeComponents>(host_, weak_from_this()));
}

std::shared_ptr<FakeComponent> FakeProject::AddModule(std::string name, std::string_view text) {
    components_.push_back(
        std::make_shared<FakeComponent>(host_, weak_from_this(), std::move(name), text));
    return components_.back();
}

std::shared_ptr<FakeComponent> FakeProject::AddComponentWithoutCode(std::string name) {
    components_.push_back(
        std::make_shared<FakeComponent>(host_, weak_from_this(), std::move(name), std::nullopt));
    return components_.back();
}

std::shared_ptr<host::CodePanes> MakeFakeCodePanes(std::weak_ptr<FakeHostState> host) {
    return std::make_shared<FakeCodePanes>(std::move(host));
}

}  // namespace trawlex::host::fake
