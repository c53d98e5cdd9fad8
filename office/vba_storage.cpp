#include "office/vba_storage.h"

#include "base/ascii_case.h"
#include "office/code_page.h"
#include "office/ovba_decompress.h"
#include "office/vba_dir.h"
#include "vbfiles/vb_module_file.h"

namespace trawlex::office {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

Result<OfficeModule> ReadModule(GsfInfile* vba, const VbaModuleEntry& entry,
                                std::uint16_t codePage) {
    const auto fail = [&](std::string_view what) {
        return Failure{"module " + entry.name + ": " + std::string(what)};
    };
    GsfPtr<GsfInput> stream = ChildNamed(vba, entry.streamName);
    if (!stream) return fail("its stream is missing");
    Result<std::string> bytes = ReadAll(stream.get());
    if (!bytes) return fail(bytes.error());
    if (entry.sourceOffset > bytes->size()) return fail("its source lies past the stream's end");
    Result<std::string> source =
        DecompressContainer(std::string_view(*bytes).substr(entry.sourceOffset));
    if (!source) return fail(source.error());
    // The module's text is UTF-8 from here; its BOM tells the module file reader so.
    const VbModuleFile file =
        VbModuleFile::Parse(std::string(kUtf8ByteOrderMark) + DecodeCodePage(*source, codePage));
    return OfficeModule{entry.name, file.VisibleText("\r\n")};
}

}  // namespace

std::optional<Result<OfficeProject>> ReadVbaProject(GsfInfile* project,
                                                    std::optional<std::string_view> onlyModule) {
    GsfPtr<GsfInfile> vba = StorageNamed(project, "VBA");
    if (!vba) return std::nullopt;
    GsfPtr<GsfInput> dirStream = ChildNamed(vba.get(), "dir");
    if (!dirStream) return std::nullopt;

    Result<std::string> dirBytes = ReadAll(dirStream.get());
    if (!dirBytes) return Result<OfficeProject>(Failure{"VBA dir stream: " + dirBytes.error()});
    Result<std::string> dir = DecompressContainer(*dirBytes);
    if (!dir) return Result<OfficeProject>(Failure{"VBA dir stream: " + dir.error()});
    Result<VbaDirInfo> info = ParseVbaDir(*dir);
    if (!info) return Result<OfficeProject>(Failure{"VBA dir stream: " + info.error()});

    OfficeProject result;
    for (const VbaModuleEntry& entry : info->modules) {
        if (onlyModule && !EqualsIgnoringCase(entry.name, *onlyModule)) continue;
        Result<OfficeModule> module = ReadModule(vba.get(), entry, info->codePage);
        if (module) {
            result.modules.push_back(std::move(*module));
        } else {
            result.problems.push_back(module.error());
        }
    }
    return result;
}

}  // namespace trawlex::office
