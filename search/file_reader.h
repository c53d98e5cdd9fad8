#pragma once
// Reads a whole file as text (decoded to UTF-8 by DecodeText's rules).

#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace trawlex {

// The bytes of a regular file; anything else (a pipe, a device, a folder) fails with
// "<path>: not a regular file" instead of blocking or reading without end. Fails with
// "<path>: <reason>" when the file cannot be opened or read.
Result<std::string> ReadRegularFile(const std::string& path);

// ReadRegularFile, decoded once; valid UTF-8 is not copied again.
Result<std::string> ReadTextFile(const std::string& path);

// Room for a file's bytes, kept from one file to the next so that reading a folder neither
// allocates nor clears memory per file.
class FileBuffer {
  public:
    // The bytes of the file read last; valid until the next read.
    std::string_view bytes() const { return {data_.get(), size_}; }

  private:
    friend Result<std::string_view> ReadFileBytes(const std::string& path, FileBuffer& buffer);
    void Reserve(std::size_t capacity);
    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// The file's bytes as they are, in `buffer`. Fails like ReadTextFile.
Result<std::string_view> ReadFileBytes(const std::string& path, FileBuffer& buffer);

}  // namespace trawlex
