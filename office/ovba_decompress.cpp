#include "office/ovba_decompress.h"

#include <cstdint>

#include "office/little_endian.h"

namespace trawlex::office {
namespace {

constexpr std::size_t kChunkSize = 4096;

std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(ReadLittleEndian(bytes, at, 2));
}

// Bits of a copy token that hold the offset, from the chunk's decompressed length so far.
unsigned OffsetBits(std::size_t decompressedInChunk) {
    unsigned bits = 4;
    while ((std::size_t{1} << bits) < decompressedInChunk) ++bits;
    return bits;
}

// Decompresses the token sequences of one compressed chunk's data into `out`.
Status DecompressChunk(std::string_view data, std::string& out) {
    const std::size_t chunkStart = out.size();
    std::size_t at = 0;
    while (at < data.size()) {
        const unsigned char flags = static_cast<unsigned char>(data[at++]);
        for (int bit = 0; bit < 8 && at < data.size(); ++bit) {
            if ((flags & (1u << bit)) == 0) {
                out.push_back(data[at++]);
                continue;
            }
            if (at + 2 > data.size()) return Failure{"copy token cut short"};
            const std::uint16_t token = ReadU16(data, at);
            at += 2;
            const std::size_t inChunk = out.size() - chunkStart;
            const unsigned offsetBits = OffsetBits(inChunk);
            const std::uint16_t lengthMask = static_cast<std::uint16_t>(0xFFFF >> offsetBits);
            const std::size_t length = (token & lengthMask) + 3u;
            const std::size_t offset = (token >> (16 - offsetBits)) + 1u;
            if (offset > inChunk) return Failure{"copy token reaches before its chunk"};
            if (inChunk + length > kChunkSize) return Failure{"copy token runs past its chunk"};
            // Byte by byte: source and destination may overlap.
            for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - offset]);
        }
    }
    return {};
}

}  // namespace

Result<std::string> DecompressContainer(std::string_view compressed) {
    if (compressed.empty() || compressed[0] != 0x01)
        return Failure{"compressed stream without its signature"};
    std::string out;
    std::size_t at = 1;
    while (at + 2 <= compressed.size()) {
        const std::uint16_t header = ReadU16(compressed, at);
        at += 2;
        if (((header >> 12) & 0x7) != 0x3) return Failure{"compressed chunk without its signature"};
        const std::size_t size = (header & 0x0FFFu) + 1u;  // the data after the header
        std::string_view data = compressed.substr(at, size);
        at += data.size();
        if ((header & 0x8000u) == 0) {
            out.append(data.substr(0, kChunkSize));  // stored as it is
            continue;
        }
        if (Status status = DecompressChunk(data, out); !status) return Failure{status.error()};
    }
    return out;
}

}  // namespace trawlex::office
