#pragma once
// In-memory projects, components, code modules and panes of the fake host.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/code_module_model.h"
#include "host/code_pane.h"
#include "host/vb_project.h"

namespace trawlex::host::fake {

struct FakeHostState;
class FakeComponent;
class FakeProject;

class FakeCodeModule : public CodeModule {
  public:
    FakeCodeModule(std::weak_ptr<FakeHostState> host, std::string name, std::string_view text);

    Result<std::string> Name() const override;
    Result<int> CountOfLines() const override;
    Result<int> CountOfDeclarationLines() const override;
    Result<std::string> Lines(int first, int count) const override;
    Result<ProcRef> ProcOfLine(int line) const override;
    Result<int> ProcStartLine(std::string_view name, ProcKind kind) const override;
    Result<int> ProcCountLines(std::string_view name, ProcKind kind) const override;
    Status ReplaceLine(int line, std::string_view text) override;

    // For tests.
    const CodeModuleModel& model() const { return model_; }
    std::string text() const { return model_.Text(); }
    // A read-only module refuses ReplaceLine, as a write-protected file does.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  private:
    std::weak_ptr<FakeHostState> host_;
    std::string name_;
    CodeModuleModel model_;
    bool readOnly_ = false;
};

class FakeCodePane : public CodePane, public std::enable_shared_from_this<FakeCodePane> {
  public:
    FakeCodePane(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeComponent> component);

    Result<Selection> GetSelection() const override;
    Status SetSelection(const Selection& selection) override;
    Status Show() override;
    Result<std::shared_ptr<host::Window>> Window() override;
    Result<std::shared_ptr<host::CodeModule>> CodeModule() override;

    // For tests.
    std::shared_ptr<FakeComponent> component() const { return component_.lock(); }
    const Selection& selection() const { return selection_; }
    bool open() const { return open_; }
    bool closed() const { return closed_; }
    int showCount() const { return showCount_; }
    int focusCount() const { return focusCount_; }

  private:
    friend class FakeHost;
    friend class FakePaneWindow;
    Status Check(const char* member) const;

    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeComponent> component_;
    Selection selection_;
    bool open_ = false;    // listed in CodePanes
    bool closed_ = false;  // closed by the host: every member fails
    int showCount_ = 0;
    int focusCount_ = 0;
};

class FakeComponent : public VBComponent, public std::enable_shared_from_this<FakeComponent> {
  public:
    // Without `text` the component has no code module.
    FakeComponent(std::weak_ptr<FakeHostState> host, std::weak_ptr<FakeProject> project,
                  std::string name, std::optional<std::string_view> text);

    Result<std::string> Name() const override;
    Result<std::shared_ptr<host::CodeModule>> CodeModule() override;
    Result<std::shared_ptr<host::CodePane>> CodePane() override;

    // For tests.
    const std::string& name() const { return name_; }
    std::shared_ptr<FakeCodeModule> module() const { return module_; }
    std::shared_ptr<FakeProject> project() const { return project_.lock(); }

  private:
    friend class FakeHost;
    std::weak_ptr<FakeHostState> host_;
    std::weak_ptr<FakeProject> project_;
    std::string name_;
    std::shared_ptr<FakeCodeModule> module_;
    std::shared_ptr<FakeCodePane> pane_;  // the pane made or opened for this component
};

class FakeProject : public VBProject, public std::enable_shared_from_this<FakeProject> {
  public:
    FakeProject(std::weak_ptr<FakeHostState> host, std::string name);

    Result<std::string> Name() const override;
    Result<std::shared_ptr<host::VBComponents>> VBComponents() override;

    // A component with a code module built from `text` (lines split at CR LF, LF or CR).
    std::shared_ptr<FakeComponent> AddModule(std::string name, std::string_view text);
    // A component without code, such as a resource or a designer.
    std::shared_ptr<FakeComponent> AddComponentWithoutCode(std::string name);

    const std::vector<std::shared_ptr<FakeComponent>>& components() const { return components_; }

  private:
    std::weak_ptr<FakeHostState> host_;
    std::string name_;
    std::vector<std::shared_ptr<FakeComponent>> components_;
};

}  // namespace trawlex::host::fake
