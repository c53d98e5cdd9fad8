#pragma once
// A fresh machine root per test: TRAWLEX_ROOT points at a new temporary folder that is
// removed afterwards.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace trawlex::platform::testing {

class TempMachineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::string& root() const { return root_; }
    std::string ReadFile(const std::string& path) const;
    void WriteFile(const std::string& path, const std::string& text) const;
    std::string CurrentUserHive() const { return root_ + "/HKEY_CURRENT_USER.reg"; }

  private:
    std::string root_;
};

// The registry value, or "<failed: description>" so a failure shows in the comparison.
std::string ReadValue(std::string_view path);

}  // namespace trawlex::platform::testing
