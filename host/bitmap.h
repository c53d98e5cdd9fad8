#pragma once
// A picture as the host's clipboard and command-bar faces hold it: 24-bit RGB pixels.

#include <cstdint>
#include <vector>

namespace trawlex::host {

struct Bitmap {
    int width = 0;
    int height = 0;
    // Row-major from the top row, three bytes (red, green, blue) per pixel.
    std::vector<std::uint8_t> rgb;

    bool Empty() const { return width <= 0 || height <= 0; }
    // Holds exactly width × height pixels.
    bool Valid() const {
        return width >= 0 && height >= 0 &&
               rgb.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
    }
    bool operator==(const Bitmap&) const = default;
};

}  // namespace trawlex::host
