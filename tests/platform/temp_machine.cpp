#include "temp_machine.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry.h"

namespace trawlex::platform::testing {

void TempMachineTest::SetUp() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "trawlex-machine-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv("TRAWLEX_ROOT", root_.c_str(), 1);
}

void TempMachineTest::TearDown() {
    unsetenv("TRAWLEX_ROOT");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempMachineTest::ReadFile(const std::string& path) const {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void TempMachineTest::WriteFile(const std::string& path, const std::string& text) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

std::string ReadValue(std::string_view path) {
    Result<std::string> value = RegRead(path);
    return value ? *value : "<failed: " + value.error() + ">";
}

}  // namespace trawlex::platform::testing
