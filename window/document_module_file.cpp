#include "window/document_module_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "office/office_document.h"
#include "search/file_reader.h"

namespace trawlex::window {
namespace {

// Removed with everything in it when the program ends; an editor still open then keeps
// its copy of the text.
QTemporaryDir& ExtractFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/trawlex-modules-XXXXXX"));
    return folder;
}

}  // namespace

std::string DocumentPathOf(const ResultRow& row) {
    const std::string suffix = kDocumentModuleSeparator + row.module;
    if (row.module.empty() || !row.name.ends_with(suffix)) return row.name;
    return row.name.substr(0, row.name.size() - suffix.size());
}

Result<std::string> ExtractModuleToTempFile(const std::string& documentPath,
                                            const std::string& module) {
    FileBuffer buffer;
    Result<std::string_view> bytes = ReadFileBytes(documentPath, buffer);
    if (!bytes) return Failure{bytes.error()};
    Result<office::OfficeModule> read = office::ReadOfficeModule(*bytes, module);
    if (!read) return Failure{documentPath + ": " + read.error()};

    QTemporaryDir& folder = ExtractFolder();
    if (!folder.isValid())
        return Failure{"no temporary folder: " + folder.errorString().toStdString()};
    // A folder per extraction: two documents may both hold a "Module1".
    static int extractions = 0;
    const QString subfolder = folder.filePath(QString::number(++extractions));
    if (!QDir().mkpath(subfolder)) return Failure{"cannot create " + subfolder.toStdString()};
    const QString path =
        QDir(subfolder).filePath(QString::fromStdString(read->name) + QStringLiteral(".bas"));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(read->text.data(), static_cast<qint64>(read->text.size())) !=
            static_cast<qint64>(read->text.size())) {
        return Failure{path.toStdString() + ": " + file.errorString().toStdString()};
    }
    file.close();
    // The text stands for the document's code, which it cannot change: read-only.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return path.toStdString();
}

}  // namespace trawlex::window
