#include "office/vba_dir.h"

#include <optional>

#include "base/utf16_codec.h"
#include "office/code_page.h"
#include "office/little_endian.h"

namespace trawlex::office {
namespace {

// Record identifiers of the dir stream that the reader looks at.
enum RecordId : std::uint16_t {
    kCodePage = 0x0003,
    kVersion = 0x0009,  // its size field is a fixed 4 and 6 bytes of data follow
    kDirEnd = 0x0010,
    kModuleName = 0x0019,
    kModuleStreamName = 0x001A,
    kModuleProcedural = 0x0021,
    kModuleNonProcedural = 0x0022,
    kModuleEnd = 0x002B,
    kModuleOffset = 0x0031,
    kModuleStreamNameUnicode = 0x0032,
    kModuleNameUnicode = 0x0047,
};

// A module as the records describe it; the code-page names are decoded once the
// code page is known for sure.
struct PendingModule {
    std::string name;
    std::string nameUnicode;
    std::string streamName;
    std::string streamNameUnicode;
    std::uint32_t offset = 0;
    bool procedural = true;
};

VbaModuleEntry Finish(const PendingModule& pending, std::uint16_t codePage) {
    VbaModuleEntry entry;
    entry.name = !pending.nameUnicode.empty() ? DecodeUtf16(pending.nameUnicode, true)
                                              : DecodeCodePage(pending.name, codePage);
    entry.streamName = !pending.streamNameUnicode.empty()
                           ? DecodeUtf16(pending.streamNameUnicode, true)
                           : DecodeCodePage(pending.streamName, codePage);
    if (entry.streamName.empty()) entry.streamName = entry.name;
    entry.sourceOffset = pending.offset;
    entry.procedural = pending.procedural;
    return entry;
}

}  // namespace

Result<VbaDirInfo> ParseVbaDir(std::string_view dir) {
    VbaDirInfo info;
    std::vector<PendingModule> modules;
    std::optional<PendingModule> current;
    std::size_t at = 0;
    while (at + 6 <= dir.size()) {
        const std::uint16_t id = static_cast<std::uint16_t>(ReadLittleEndian(dir, at, 2));
        std::size_t size = ReadLittleEndian(dir, at + 2, 4);
        at += 6;
        if (id == kVersion) size = 6;
        if (size > dir.size() - at) return Failure{"dir stream record runs past its end"};
        const std::string_view data = dir.substr(at, size);
        at += size;

        switch (id) {
            case kCodePage:
                if (size >= 2)
                    info.codePage = static_cast<std::uint16_t>(ReadLittleEndian(data, 0, 2));
                break;
            case kModuleName:
                if (current) modules.push_back(*current);  // a module without its end record
                current = PendingModule{};
                current->name = data;
                break;
            case kModuleNameUnicode:
                if (current) current->nameUnicode = data;
                break;
            case kModuleStreamName:
                if (current) current->streamName = data;
                break;
            case kModuleStreamNameUnicode:
                if (current) current->streamNameUnicode = data;
                break;
            case kModuleOffset:
                if (current && size >= 4) current->offset = ReadLittleEndian(data, 0, 4);
                break;
            case kModuleProcedural:
            case kModuleNonProcedural:
                if (current) current->procedural = id == kModuleProcedural;
                break;
            case kModuleEnd:
                if (current) modules.push_back(*current);
                current.reset();
                break;
            default:
                break;
        }
        if (id == kDirEnd) break;
    }
    if (current) modules.push_back(*current);
    for (const PendingModule& pending : modules)
        info.modules.push_back(Finish(pending, info.codePage));
    return info;
}

}  // namespace trawlex::office
