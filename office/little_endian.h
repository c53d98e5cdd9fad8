#pragma once
// Little-endian integers inside the binary formats the office reader parses.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trawlex::office {

// The `size` bytes (at most 4) at `at`; the caller has checked they are there.
inline std::uint32_t ReadLittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

}  // namespace trawlex::office
