#pragma once
// A scratch folder under the system's temporary directory, removed with everything in it.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trawlex::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "trawlex-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root_ = pattern;
    }
    ~TempFolder() {
        // Give back permissions a test took away, so everything can be removed.
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(
                 root_, std::filesystem::directory_options::skip_permission_denied, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (!it->is_symlink()) ::chmod(it->path().c_str(), 0700);
        }
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder itself, without a trailing '/'.
    std::string Root() const { return root_; }
    std::string Path(std::string_view relative) const {
        return root_ + "/" + std::string(relative);
    }

    void Write(std::string_view relative, std::string_view bytes) const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::ofstream out(Path(relative), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + Path(relative));
    }
    void MakeFolder(std::string_view relative) const {
        std::filesystem::create_directories(Path(relative));
    }
    void Link(std::string_view target, std::string_view relative) const {
        std::filesystem::create_symlink(std::string(target), Path(relative));
    }

  private:
    std::string root_;
};

}  // namespace trawlex::test
