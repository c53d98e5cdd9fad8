#include "vbide/ide_project.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace trawlex::vbide {
namespace {

// Writes beside the file and renames over it, so a failed write leaves the old file whole.
Status WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".vbide-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return Failure{"cannot write " + temp};
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return Failure{"cannot write " + temp};
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return Failure{"cannot replace " + path};
    }
    return {};
}

}  // namespace

IdeComponent::IdeComponent(VbModule module, PaneProvider panes)
    : module_(std::move(module)),
      code_(std::make_shared<IdeCodeModule>(module_.name, module_.file.VisibleLines())),
      panes_(std::move(panes)) {}

Result<std::string> IdeComponent::Name() const {
    return module_.name;
}

Result<std::shared_ptr<host::CodeModule>> IdeComponent::CodeModule() {
    return std::shared_ptr<host::CodeModule>(code_);
}

Result<std::shared_ptr<host::CodePane>> IdeComponent::CodePane() {
    if (!panes_) return Failure{"the component has no code pane"};
    return panes_(*this);
}

Status IdeComponent::Save(bool allowLossy) {
    const std::vector<std::string> lines = code_->CurrentLines();
    ModuleSaveData data = module_.file.Serialize(lines);
    if (!data.lossyLines.empty() && !allowLossy) {
        std::string which;
        for (int n : data.lossyLines) which += (which.empty() ? "" : ", ") + std::to_string(n);
        return Failure{module_.name + ": line " + which +
                       " holds characters this file's encoding cannot store"};
    }
    if (Status written = WriteFileAtomically(module_.path, data.bytes); !written) return written;
    module_.file = VbModuleFile::Parse(data.bytes);
    if (module_.file.VisibleLines() != lines) code_->ResetLines(module_.file.VisibleLines());
    code_->Document()->setModified(false);
    return {};
}

Result<std::shared_ptr<host::VBComponent>> IdeComponents::Item(int index) {
    if (index < 1 || index > static_cast<int>(items_.size()))
        return Failure{"Subscript out of range"};
    return std::shared_ptr<host::VBComponent>(items_[static_cast<std::size_t>(index - 1)]);
}

IdeProject::IdeProject(VbProject project, const PaneProvider& panes)
    : name_(std::move(project.name)),
      path_(std::move(project.path)),
      problems_(std::move(project.problems)) {
    for (auto& m : project.modules)
        items_.push_back(std::make_shared<IdeComponent>(std::move(m), panes));
    components_ = std::make_shared<IdeComponents>(items_);
}

}  // namespace trawlex::vbide
