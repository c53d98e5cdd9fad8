#include "vbide/ide_code_module.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>

namespace trawlex::vbide {

IdeCodeModule::IdeCodeModule(std::string name, const std::vector<std::string>& lines)
    : name_(std::move(name)), document_(std::make_unique<QTextDocument>()) {
    document_->setDocumentLayout(new QPlainTextDocumentLayout(document_.get()));
    ResetLines(lines);
    QObject::connect(document_.get(), &QTextDocument::contentsChanged, document_.get(), [this] {
        stale_ = true;
        noLines_ = false;
    });
}

IdeCodeModule::~IdeCodeModule() = default;

void IdeCodeModule::ResetLines(const std::vector<std::string>& lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) text << QString::fromStdString(line);
    document_->setPlainText(text.join(QChar('\n')));
    document_->setModified(false);
    stale_ = true;
    // Set after the text, whose change clears it.
    noLines_ = lines.empty();
}

std::vector<std::string> IdeCodeModule::CurrentLines() const {
    std::vector<std::string> lines;
    if (noLines_) return lines;
    lines.reserve(static_cast<std::size_t>(document_->blockCount()));
    for (QTextBlock b = document_->begin(); b.isValid(); b = b.next())
        lines.push_back(b.text().toStdString());
    return lines;
}

const host::CodeModuleModel& IdeCodeModule::Model() const {
    if (stale_) {
        model_.SetLines(CurrentLines());
        stale_ = false;
    }
    return model_;
}

Result<std::string> IdeCodeModule::Name() const {
    return name_;
}
Result<int> IdeCodeModule::CountOfLines() const {
    return Model().CountOfLines();
}
Result<int> IdeCodeModule::CountOfDeclarationLines() const {
    return Model().CountOfDeclarationLines();
}
Result<std::string> IdeCodeModule::Lines(int first, int count) const {
    return Model().Lines(first, count);
}
Result<host::ProcRef> IdeCodeModule::ProcOfLine(int line) const {
    return Model().ProcOfLine(line);
}
Result<int> IdeCodeModule::ProcStartLine(std::string_view name, host::ProcKind kind) const {
    return Model().ProcStartLine(name, kind);
}
Result<int> IdeCodeModule::ProcCountLines(std::string_view name, host::ProcKind kind) const {
    return Model().ProcCountLines(name, kind);
}

Status IdeCodeModule::ReplaceLine(int line, std::string_view text) {
    if (line < 1 || line > Model().CountOfLines())
        return Failure{"Invalid procedure call or argument"};
    QString replacement = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    replacement.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QChar('\r'), QChar('\n'));
    QTextCursor cursor(document_->findBlockByNumber(line - 1));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    return {};
}

}  // namespace trawlex::vbide
