// trawlex-grep -j N prints exactly what -j1 prints: the same rows and messages in the same
// order, from trees with many files, failing paths, files that cannot be read and projects.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <variant>

#include "cli/grep_options.h"
#include "cli/grep_run.h"
#include "cli/row_sink.h"
#include "run_grep.h"

namespace fs = std::filesystem;

namespace trawlex::cli::test {
namespace {

void WriteFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

class GrepJobs : public ::testing::Test {
  protected:
    void SetUp() override {
        base_ = fs::temp_directory_path() / ("trawlex-grep-jobs-" + std::to_string(::getpid()));
        fs::remove_all(base_);
        std::mt19937 rng(42);
        const std::vector<std::string> lines = {
            "Private Sub Value()",
            "End Sub",
            "  Dim value As Long",
            "' \x8C\x9F\x8D\xF5 value",  // ' 検索 value (CP932)
            "x = \x82\x75\x82\x81lue",   // Ｖａlue
            "Function F(v)",
            "End Function",
            "\xEF\xBC\xB6"
            "alue",  // Ｖalue in UTF-8
        };
        for (int folder = 0; folder < 6; ++folder) {
            for (int file = 0; file < 12; ++file) {
                std::string text;
                const int count = std::uniform_int_distribution<int>(0, 40)(rng);
                for (int i = 0; i < count; ++i) {
                    text +=
                        lines[std::uniform_int_distribution<std::size_t>(0, lines.size() - 1)(rng)];
                    text += "\r\n";
                }
                fs::path dir = base_ / "tree" / ("p" + std::to_string(folder));
                if (file % 4 == 3) dir /= "deeper";
                WriteFile(dir / ("m" + std::to_string(file) + ".bas"), text);
            }
        }
        // A big file among small ones finishes last on its own thread.
        std::string big;
        for (int i = 0; i < 20000; ++i) big += "value = " + std::to_string(i) + "\r\n";
        WriteFile(base_ / "tree" / "p2" / "big.bas", big);
        // A file that cannot be read, even by root.
        fs::create_symlink("/proc/self/mem", base_ / "tree" / "p3" / "m55.bas");
    }
    void TearDown() override { fs::remove_all(base_); }

    GrepResult Grep(const std::string& jobs, std::vector<std::string> args) {
        args.insert(args.begin(), jobs);
        return RunGrep(args, base_);
    }

    fs::path base_;
};

TEST_F(GrepJobs, AnyNumberOfJobsPrintsWhatOneJobPrints) {
    const std::string samples = TRAWLEX_SAMPLES_DIR;
    const std::vector<std::vector<std::string>> runs = {
        {"value", "tree"},
        {"--format", "tsv", "--mode", "regex", "^ *Dim", "tree", "nowhere", "tree/p1"},
        {"--format", "jsonl", "--ext", "bas", "Sub", samples + "/Sample.vbp", "tree", "/dev/null"},
        {"--mode", "word", "value", "tree/p3", "tree/p2/big.bas", "/dev/zero"},
        // What is shown rather than searched: counts, regions, marked parts and spans.
        {"--count", "value", "tree", "nowhere"},
        {"--color", "always", "--in", "comment", "value", "tree"},
        {"--format", "jsonl", "--in", "code", "--in", "string", "alue", "tree/p2", "tree/p3"},
    };
    for (const auto& args : runs) {
        const GrepResult one = Grep("-j1", args);
        ASSERT_GT(one.outLines.size(), 10u) << args[0];
        for (const char* jobs : {"-j2", "-j3", "-j8"}) {
            const GrepResult many = Grep(jobs, args);
            EXPECT_EQ(many.out, one.out) << jobs << " " << args[0];
            EXPECT_EQ(many.err, one.err) << jobs << " " << args[0];
            EXPECT_EQ(many.exitCode, one.exitCode);
        }
    }
    // The unreadable file is reported where the walk meets it, and the walk goes on.
    const GrepResult walk = Grep("-j4", {"--format", "tsv", "value", "tree/p3"});
    EXPECT_NE(walk.err.find("tree/p3/m55.bas: "), std::string::npos);
    EXPECT_EQ(walk.exitCode, 2);
    const auto after =
        std::find_if(walk.outLines.begin(), walk.outLines.end(), [](const std::string& line) {
            return line.starts_with("tree/p3/m6.bas\t") || line.starts_with("tree/p3/m9.bas\t") ||
                   line.starts_with("tree/p3/deeper/");
        });
    EXPECT_NE(after, walk.outLines.end());
}

// What a run hands its caller, rows and failures in one text (failures marked by "!"): rows
// as one job writes them, or as the text several jobs write.
std::string HandedOver(std::vector<std::string_view> args, unsigned jobs) {
    GrepOptions options = std::get<GrepOptions>(ParseGrepArgs(args));
    options.jobs = jobs;
    std::string events;
    RowText text(options, TextStyle{});
    GrepCallbacks callbacks;
    callbacks.row = [&](const ResultRowView& row) { text.Append(row, events); };
    callbacks.writer = [&] { return std::make_unique<RowText>(options, TextStyle{}); };
    callbacks.text = [&](std::string_view written) { events += written; };
    callbacks.error = [&](const std::string& error) { events += "!" + error + "\n"; };
    RunGrep(options, callbacks);
    return events;
}

TEST_F(GrepJobs, FailuresInsideAUnitStandBetweenItsRowsAsWithOneJob) {
    // A project whose second module is missing: its rows come before and after the failure.
    WriteFile(base_ / "proj" / "a.bas", "Attribute VB_Name = \"A\"\r\nvalue = 1\r\n");
    WriteFile(base_ / "proj" / "c.bas", "Attribute VB_Name = \"C\"\r\nvalue = 3\r\n");
    WriteFile(base_ / "proj" / "p.vbp",
              "Type=Exe\r\nModule=A; a.bas\r\nModule=B; b.bas\r\nModule=C; c.bas\r\n");
    const std::string project = (base_ / "proj" / "p.vbp").string();
    const std::string tree = (base_ / "tree" / "p3").string();
    const std::string one = HandedOver({"value", project, tree, project}, 1);
    const std::size_t failure = one.find("!");
    ASSERT_NE(failure, std::string::npos);
    EXPECT_NE(one.find("A:1:"), std::string::npos);
    EXPECT_GT(one.find("C:1:"), failure);
    for (unsigned jobs : {2u, 3u}) {
        EXPECT_EQ(HandedOver({"value", project, tree, project}, jobs), one) << jobs;
        EXPECT_EQ(HandedOver({"--format", "jsonl", "value", project, tree}, jobs),
                  HandedOver({"--format", "jsonl", "value", project, tree}, 1))
            << jobs;
    }
}

}  // namespace
}  // namespace trawlex::cli::test
