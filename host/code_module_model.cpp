#include "host/code_module_model.h"

#include <algorithm>

#include "host/vb_code_reader.h"
#include "vbfiles/vb_module_file.h"

namespace trawlex::host {
namespace {

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Every piece of `text` between line breaks, so a text ending in a break ends in an
// empty line.
std::vector<std::string> AllLinePieces(std::string_view text) {
    std::vector<std::string> pieces = SplitLines(text, nullptr);
    if (text.empty() || text.back() == '\r' || text.back() == '\n') pieces.emplace_back();
    return pieces;
}

const char* KindName(ProcKind kind) {
    switch (kind) {
        case vbext_pk_Proc:
            return "Sub or Function";
        case vbext_pk_Let:
            return "Property Let";
        case vbext_pk_Set:
            return "Property Set";
        case vbext_pk_Get:
            return "Property Get";
    }
    return "unknown kind";
}

}  // namespace

CodeModuleModel::CodeModuleModel(std::vector<std::string> lines) : lines_(std::move(lines)) {}

CodeModuleModel CodeModuleModel::FromText(std::string_view text) {
    return CodeModuleModel(SplitLines(text, nullptr));
}

void CodeModuleModel::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    parsed_ = false;
}

std::string CodeModuleModel::Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines_[i];
    }
    return text;
}

const std::vector<CodeModuleModel::Procedure>& CodeModuleModel::Procedures() const {
    if (parsed_) return procedures_;
    procedures_.clear();
    declarationLines_ = 0;
    const int count = CountOfLines();
    int lastCodeLine = 0;  // last line holding code before the first procedure
    bool inside = false;
    int first = 0;
    while (first < count) {
        // Join the physical lines of one logical line.
        int last = first;
        std::string logical = lines_[first];
        while (last + 1 < count && EndsWithContinuation(lines_[last])) {
            logical.erase(logical.find_last_of('_'));
            logical += ' ';
            logical += lines_[++last];
        }
        for (const std::string& statement : SplitStatements(logical)) {
            if (auto header = ParseProcHeader(statement)) {
                // A header while a procedure is still open ends that one just before it.
                if (inside) procedures_.back().endLine = first;
                procedures_.push_back({std::move(header->name), header->kind, 0, first + 1, 0});
                inside = true;
            } else if (inside && IsProcEnd(statement)) {
                procedures_.back().endLine = last + 1;
                inside = false;
            } else if (procedures_.empty() && !IsCompilerConstant(statement)) {
                // #Const lines just before the first procedure belong to it.
                lastCodeLine = last + 1;
            }
        }
        first = last + 1;
    }
    if (inside) procedures_.back().endLine = count;

    if (procedures_.empty()) {
        int lastNonBlank = count;
        while (lastNonBlank > 0 && IsBlankLine(lines_[lastNonBlank - 1])) --lastNonBlank;
        declarationLines_ = lastNonBlank;
    } else {
        declarationLines_ = lastCodeLine;
    }
    int previousEnd = declarationLines_;
    for (Procedure& procedure : procedures_) {
        procedure.startLine = std::min(previousEnd + 1, procedure.headerLine);
        previousEnd = std::max(previousEnd, procedure.endLine);
    }
    parsed_ = true;
    return procedures_;
}

int CodeModuleModel::CountOfDeclarationLines() const {
    Procedures();
    return declarationLines_;
}

Result<std::string> CodeModuleModel::Lines(int first, int count) const {
    const int total = CountOfLines();
    if (count < 0) return Failure{"Invalid line count " + std::to_string(count)};
    if (count == 0) {
        if (first < 1 || first > total + 1) {
            return Failure{"Line " + std::to_string(first) + " is outside the module"};
        }
        return std::string();
    }
    if (first < 1 || first > total) {
        return Failure{"Line " + std::to_string(first) + " is outside the module"};
    }
    const int last =
        static_cast<int>(std::min<long long>(total, static_cast<long long>(first) + count - 1));
    std::string text;
    for (int line = first; line <= last; ++line) {
        if (line > first) text += "\r\n";
        text += lines_[line - 1];
    }
    return text;
}

Result<ProcRef> CodeModuleModel::ProcOfLine(int line) const {
    if (line < 1 || line > CountOfLines()) {
        return Failure{"Line " + std::to_string(line) + " is outside the module"};
    }
    const auto& procs = Procedures();
    for (const Procedure& procedure : procs) {
        if (line >= procedure.startLine && line <= procedure.endLine) {
            return ProcRef{procedure.name, procedure.kind};
        }
    }
    if (!procs.empty() && line > procs.back().endLine) {
        return ProcRef{procs.back().name, procs.back().kind};
    }
    return ProcRef{};
}

const CodeModuleModel::Procedure* CodeModuleModel::Find(std::string_view name,
                                                        ProcKind kind) const {
    for (const Procedure& procedure : Procedures()) {
        if (procedure.kind == kind && SameIdentifier(procedure.name, name)) return &procedure;
    }
    return nullptr;
}

Result<int> CodeModuleModel::ProcStartLine(std::string_view name, ProcKind kind) const {
    if (const Procedure* procedure = Find(name, kind)) return procedure->startLine;
    return Failure{"No " + std::string(KindName(kind)) + " procedure named \"" + std::string(name) +
                   "\" in the module"};
}

Result<int> CodeModuleModel::ProcCountLines(std::string_view name, ProcKind kind) const {
    if (const Procedure* procedure = Find(name, kind)) {
        return procedure->endLine - procedure->startLine + 1;
    }
    return Failure{"No " + std::string(KindName(kind)) + " procedure named \"" + std::string(name) +
                   "\" in the module"};
}

Status CodeModuleModel::ReplaceLine(int line, std::string_view text) {
    if (line < 1 || line > CountOfLines()) {
        return Failure{"Line " + std::to_string(line) + " is outside the module"};
    }
    // Text with line breaks becomes several lines, so Lines and CountOfLines stay in step.
    std::vector<std::string> pieces = AllLinePieces(text);
    auto at = lines_.erase(lines_.begin() + (line - 1));
    lines_.insert(at, std::make_move_iterator(pieces.begin()),
                  std::make_move_iterator(pieces.end()));
    parsed_ = false;
    return {};
}

}  // namespace trawlex::host
