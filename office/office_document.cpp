#include "office/office_document.h"

#include <array>
#include <optional>

#include "base/ascii_case.h"
#include "office/gsf_access.h"
#include "office/powerpoint_storage.h"
#include "office/vba_storage.h"

namespace trawlex::office {
namespace {

using ProjectResult = std::optional<Result<OfficeProject>>;
using ModuleFilter = std::optional<std::string_view>;

constexpr std::string_view kCompoundFileMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kZipMagic = "PK\x03\x04";

constexpr std::array kDocumentExtensions = {".xls",  ".xla",  ".xlt",  ".doc",  ".dot",  ".ppt",
                                            ".pot",  ".pps",  ".xlsm", ".xlam", ".xltm", ".xlsb",
                                            ".docm", ".dotm", ".pptm", ".ppsm", ".potm", ".ppam"};

// Where the binary formats keep their VBA project storage: a vbaProject.bin at its root,
// Excel in "_VBA_PROJECT_CUR", Word in "Macros".
constexpr std::array kProjectStorages = {"_VBA_PROJECT_CUR", "Macros"};

// The project storage that PowerPoint embeds holds the "VBA" storage at its root; other
// embedded objects (a workbook with macros of its own) do not.
ProjectResult ReadPowerPointProject(GsfInfile* root, ModuleFilter only) {
    GsfPtr<GsfInput> stream = ChildNamed(root, "PowerPoint Document");
    if (!stream) return std::nullopt;
    Result<std::string> document = ReadAll(stream.get());
    if (!document)
        return Result<OfficeProject>(Failure{"PowerPoint Document: " + document.error()});
    ProjectResult found;
    VisitEmbeddedStorages(*document, [&](std::string_view storage) {
        GsfPtr<GsfInput> input = MemoryInput(storage);
        GsfPtr<GsfInfile> embedded = OpenCompoundFile(input.get());
        if (embedded) found = ReadVbaProject(embedded.get(), only);
        return found.has_value();
    });
    return found;
}

ProjectResult ReadCompoundFile(std::string_view bytes, ModuleFilter only) {
    GsfPtr<GsfInput> input = MemoryInput(bytes);
    GsfPtr<GsfInfile> root = OpenCompoundFile(input.get());
    if (!root) return Result<OfficeProject>(Failure{"damaged compound file"});
    if (ChildNamed(root.get(), "EncryptedPackage"))
        return Result<OfficeProject>(Failure{"encrypted document; its VBA cannot be read"});
    if (ProjectResult project = ReadVbaProject(root.get(), only)) return project;
    for (const char* name : kProjectStorages) {
        GsfPtr<GsfInfile> storage = StorageNamed(root.get(), name);
        if (ProjectResult project = ReadVbaProject(storage.get(), only)) return project;
    }
    return ReadPowerPointProject(root.get(), only);
}

// An OOXML package keeps the project as "vbaProject.bin" in its main part's folder
// (xl/, word/, ppt/).
ProjectResult ReadZipPackage(std::string_view bytes, ModuleFilter only) {
    GsfPtr<GsfInput> input = MemoryInput(bytes);
    GsfPtr<GsfInfile> root = OpenZipPackage(input.get());
    if (!root) return Result<OfficeProject>(Failure{"damaged zip package"});
    const int folders = ChildCount(root.get());
    for (int i = 0; i < folders; ++i) {
        GsfPtr<GsfInput> child = ChildAt(root.get(), i);
        GsfInfile* folder = AsInfile(child.get());
        if (folder == nullptr) continue;
        GsfPtr<GsfInput> bin = ChildNamed(folder, "vbaProject.bin");
        if (!bin) continue;
        Result<std::string> project = ReadAll(bin.get());
        if (!project) return Result<OfficeProject>(Failure{"vbaProject.bin: " + project.error()});
        return ReadCompoundFile(*project, only);
    }
    return std::nullopt;
}

Result<OfficeProject> ReadDocument(std::string_view bytes, ModuleFilter only) {
    ProjectResult project;
    if (bytes.starts_with(kCompoundFileMagic)) {
        project = ReadCompoundFile(bytes, only);
    } else if (bytes.starts_with(kZipMagic)) {
        project = ReadZipPackage(bytes, only);
    } else {
        return Failure{"neither a compound file nor a zip package"};
    }
    if (!project) return OfficeProject{};  // no VBA project: no modules
    return std::move(*project);
}

}  // namespace

bool IsOfficeDocumentName(std::string_view path) {
    // Every extension is the text from the last "." on, so only that text is compared.
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = path.substr(dot);
    for (const std::string_view known : kDocumentExtensions) {
        if (EqualsIgnoringCase(extension, known)) return true;
    }
    return false;
}

Result<OfficeProject> ReadOfficeDocument(std::string_view bytes) {
    return ReadDocument(bytes, std::nullopt);
}

Result<OfficeModule> ReadOfficeModule(std::string_view bytes, std::string_view moduleName) {
    Result<OfficeProject> project = ReadDocument(bytes, moduleName);
    if (!project) return Failure{project.error()};
    if (project->modules.empty()) {
        if (!project->problems.empty()) return Failure{project->problems.front()};
        return Failure{"no module " + std::string(moduleName)};
    }
    return std::move(project->modules.front());
}

}  // namespace trawlex::office
