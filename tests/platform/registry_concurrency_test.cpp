// Several processes changing one hive at once, and processes killed while writing.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/hive_file.h"
#include "platform/registry.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "temp_machine.h"

namespace trawlex::platform {
namespace {

using RegistryConcurrencyTest = testing::TempMachineTest;

std::string ValuePath(int writer, int index) {
    return "HKCU\\Software\\Stress\\Writer" + std::to_string(writer) + "\\V" +
           std::to_string(index);
}

// Exit status 0 when every write was acknowledged.
int ExitStatus(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST_F(RegistryConcurrencyTest, WritersInSeveralProcessesLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kWrites = 25;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < kWrites; ++i) {
                // Every writer also touches one shared value, so they contend for real.
                if (!RegWrite(ValuePath(writer, i), std::to_string(writer * 1000 + i))) ++failures;
                if (!RegWrite("HKCU\\Software\\Stress\\Shared", std::to_string(writer))) ++failures;
            }
            _exit(failures);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) EXPECT_EQ(ExitStatus(pid), 0);

    for (int writer = 0; writer < kWriters; ++writer) {
        EXPECT_EQ(RegValueNames("HKCU\\Software\\Stress\\Writer" + std::to_string(writer))->size(),
                  static_cast<size_t>(kWrites));
        for (int i = 0; i < kWrites; ++i) {
            Result<std::string> value = RegRead(ValuePath(writer, i));
            ASSERT_TRUE(value) << value.error();
            EXPECT_EQ(*value, std::to_string(writer * 1000 + i));
        }
    }
}

TEST_F(RegistryConcurrencyTest, SettingsBatchesFromSeveralProcessesLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kBatches = 10;
    constexpr int kBatchSize = 5;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int batch = 0; batch < kBatches; ++batch) {
                std::vector<std::pair<std::string, std::string>> values;
                for (int i = 0; i < kBatchSize; ++i) {
                    const int n = batch * kBatchSize + i;
                    values.emplace_back("W" + std::to_string(writer) + "_" + std::to_string(n),
                                        std::to_string(writer * 1000 + n));
                }
                values.emplace_back("Shared", std::to_string(writer));
                if (!SaveSettings("quillfen", "Stress", values)) ++failures;
            }
            _exit(failures);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) EXPECT_EQ(ExitStatus(pid), 0);

    const auto stored = GetAllSettings("quillfen", "Stress");
    EXPECT_EQ(stored.size(), static_cast<size_t>(kWriters * kBatches * kBatchSize + 1));
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int n = 0; n < kBatches * kBatchSize; ++n) {
            EXPECT_EQ(GetSetting("quillfen", "Stress",
                                 "W" + std::to_string(writer) + "_" + std::to_string(n)),
                      std::to_string(writer * 1000 + n));
        }
    }
}

TEST_F(RegistryConcurrencyTest, WriterKilledMidWriteLeavesAHiveThatParses) {
    const std::string bulk(4096, 'x');  // large hives make the write window wide
    for (int round = 0; round < 8; ++round) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i)
                static_cast<void>(RegWrite(ValuePath(round, i % 64), bulk + std::to_string(i)));
        }
        // Let it get going, then kill it wherever it happens to be.
        const std::string started = "HKCU\\Software\\Stress\\Writer" + std::to_string(round);
        for (int wait = 0; wait < 10000 && !RegKeyExists(started); ++wait) Sleep(1);
        ASSERT_TRUE(RegKeyExists(started));
        Sleep(round * 3);
        kill(pid, SIGKILL);
        EXPECT_EQ(ExitStatus(pid), 100 + SIGKILL);

        Result<RegHive> hive = LoadHive(HiveId::CurrentUser);
        ASSERT_TRUE(hive) << hive.error();
        // Its lock died with it: the next writer is not blocked.
        ASSERT_TRUE(RegWrite("HKCU\\Software\\Stress\\After" + std::to_string(round), "ok"));
    }
    for (int round = 0; round < 8; ++round) {
        EXPECT_EQ(testing::ReadValue("HKCU\\Software\\Stress\\After" + std::to_string(round)),
                  "ok");
    }
}

}  // namespace
}  // namespace trawlex::platform
