#include "office/powerpoint_storage.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

#include "office/gsf_access.h"
#include "office/little_endian.h"

namespace trawlex::office {
namespace {

constexpr std::uint16_t kExOleObjStg = 0x1011;
constexpr std::size_t kRecordHeader = 8;

// Inflates as much of `compressed` as is there, up to `expected` bytes.
std::string InflateWhatIsThere(std::string_view compressed, std::size_t expected) {
    std::string out(expected, '\0');
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    int status = Z_OK;
    while (status == Z_OK && stream.avail_out > 0 && stream.avail_in > 0)
        status = inflate(&stream, Z_SYNC_FLUSH);
    const std::size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (produced == 0) return {};
    return out;  // the unproduced rest stays zero
}

std::string StorageOf(std::uint16_t instance, std::string_view body) {
    if (instance == 0) return std::string(body);  // stored uncompressed
    if (body.size() < 4) return {};
    // zlib's densest output is about 1032 bytes per input byte: a larger stated size is
    // a damaged field, not a reason to allocate it.
    const std::string_view compressed = body.substr(4);
    const std::size_t stated = std::min({std::size_t{ReadLittleEndian(body, 0, 4)}, kMaxStreamBytes,
                                         compressed.size() * 1032 + 4096});
    return InflateWhatIsThere(compressed, stated);
}

}  // namespace

void VisitEmbeddedStorages(std::string_view documentStream,
                           const std::function<bool(std::string_view storage)>& visit) {
    std::size_t at = 0;
    while (at + kRecordHeader <= documentStream.size()) {
        const std::uint16_t versionAndInstance =
            static_cast<std::uint16_t>(ReadLittleEndian(documentStream, at, 2));
        const std::uint16_t type =
            static_cast<std::uint16_t>(ReadLittleEndian(documentStream, at + 2, 2));
        const std::size_t length = ReadLittleEndian(documentStream, at + 4, 4);
        at += kRecordHeader;
        if ((versionAndInstance & 0xF) == 0xF) continue;  // a container: its records follow
        const std::string_view body = documentStream.substr(at, length);
        if (type == kExOleObjStg) {
            const std::string storage = StorageOf(versionAndInstance >> 4, body);
            if (!storage.empty() && visit(storage)) return;
        }
        if (length > documentStream.size() - at) break;
        at += length;
    }
}

}  // namespace trawlex::office
