#pragma once
// A module's code as the editor holds it: one QTextDocument shared by every pane showing
// the module, and the code-module model kept in step with it for the host's callers.

#include <QObject>
#include <QTextDocument>
#include <memory>
#include <string>
#include <vector>

#include "host/code_module.h"
#include "host/code_module_model.h"

namespace trawlex::vbide {

class IdeCodeModule : public host::CodeModule {
  public:
    IdeCodeModule(std::string name, const std::vector<std::string>& lines);
    ~IdeCodeModule() override;

    Result<std::string> Name() const override;
    Result<int> CountOfLines() const override;
    Result<int> CountOfDeclarationLines() const override;
    Result<std::string> Lines(int first, int count) const override;
    Result<host::ProcRef> ProcOfLine(int line) const override;
    Result<int> ProcStartLine(std::string_view name, host::ProcKind kind) const override;
    Result<int> ProcCountLines(std::string_view name, host::ProcKind kind) const override;
    Status ReplaceLine(int line, std::string_view text) override;

    QTextDocument* Document() const { return document_.get(); }
    // The document's lines as UTF-8. A document always holds a line, so an empty one
    // stands for a module without lines only while it is as it was loaded; otherwise it
    // is one blank line.
    std::vector<std::string> CurrentLines() const;
    // Puts new text in place without marking the module changed (after loading or saving).
    void ResetLines(const std::vector<std::string>& lines);

  private:
    const host::CodeModuleModel& Model() const;

    std::string name_;
    std::unique_ptr<QTextDocument> document_;
    mutable host::CodeModuleModel model_;
    mutable bool stale_ = true;
    bool noLines_ = true;
};

}  // namespace trawlex::vbide
