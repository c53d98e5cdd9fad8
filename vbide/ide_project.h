#pragma once
// Projects and components of the editor, read from .vbp/.vbg/module files and written back
// through the module-file codec.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/vb_project.h"
#include "vbfiles/vb_project.h"
#include "vbide/ide_code_module.h"

namespace trawlex::vbide {

class IdeComponent;
// Gives the component's code pane: the open one, else a new one not yet shown.
using PaneProvider = std::function<Result<std::shared_ptr<host::CodePane>>(IdeComponent&)>;

class IdeComponent : public host::VBComponent, public std::enable_shared_from_this<IdeComponent> {
  public:
    IdeComponent(VbModule module, PaneProvider panes);

    Result<std::string> Name() const override;
    Result<std::shared_ptr<host::CodeModule>> CodeModule() override;
    Result<std::shared_ptr<host::CodePane>> CodePane() override;

    const std::string& FilePath() const { return module_.path; }
    VbModuleKind Kind() const { return module_.kind; }
    const std::shared_ptr<IdeCodeModule>& Code() const { return code_; }
    bool Modified() const { return code_->Document()->isModified(); }
    // Writes the module back in its own encoding and line ends. Characters the encoding
    // cannot hold make it fail (nothing written) unless `allowLossy`.
    Status Save(bool allowLossy = false);

  private:
    VbModule module_;
    std::shared_ptr<IdeCodeModule> code_;
    PaneProvider panes_;
};

class IdeComponents : public host::VBComponents {
  public:
    explicit IdeComponents(std::vector<std::shared_ptr<IdeComponent>> items)
        : items_(std::move(items)) {}
    Result<int> Count() const override { return static_cast<int>(items_.size()); }
    Result<std::shared_ptr<host::VBComponent>> Item(int index) override;

  private:
    std::vector<std::shared_ptr<IdeComponent>> items_;
};

class IdeProject : public host::VBProject {
  public:
    IdeProject(VbProject project, const PaneProvider& panes);

    Result<std::string> Name() const override { return name_; }
    Result<std::shared_ptr<host::VBComponents>> VBComponents() override {
        return std::shared_ptr<host::VBComponents>(components_);
    }

    const std::string& FilePath() const { return path_; }
    const std::vector<std::shared_ptr<IdeComponent>>& Components() const { return items_; }
    const std::vector<std::string>& Problems() const { return problems_; }

  private:
    std::string name_;
    std::string path_;
    std::vector<std::string> problems_;
    std::vector<std::shared_ptr<IdeComponent>> items_;
    std::shared_ptr<IdeComponents> components_;
};

}  // namespace trawlex::vbide
