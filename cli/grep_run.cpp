#include "cli/grep_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

#include "cli/ordered_jobs.h"
#include "cli/project_search.h"
#include "search/file_reader.h"
#include "search/folder_search.h"
#include "search/match_engine.h"
#include "search/text_scan.h"

namespace trawlex::cli {
namespace {

// One piece of a run, searched on its own: a file, a project, or a failure to report.
struct GrepUnit {
    enum class Kind { File, Project, Failure };
    Kind kind = Kind::File;
    std::string text;  // the path, or the failure's message
    // Where the run goes on when the file cannot be read: past the rest of its folder.
    std::size_t folder_end = 0;
};

// What one unit found: its rows, formatted, and its failures with the place among the
// rows where each came.
struct UnitOutput {
    std::string rows;
    std::vector<std::pair<std::size_t, std::string>> failures;
    std::int64_t count = 0;
    bool unreadable = false;  // the file could not be read: its folder's walk ends
};

// The folder walk's view of the run: a fixed filter, never stopped.
class WalkHost : public FolderSearchHost {
  public:
    explicit WalkHost(const GrepOptions& options) : options_(options) { SetSteady(true); }
    MatchOptions CurrentOptions() const override { return options_.match; }
    void AddRow(ResultRow) override {}
    std::string ExtList() const override { return options_.extList; }
    bool SearchSubfolders() const override { return options_.searchSubfolders; }
    void SetStatus(std::string) override {}

  private:
    const GrepOptions& options_;
};

// The engine's view of one unit: fixed options, no yielding, never stopped; rows are
// formatted as they come.
class UnitHost : public ScanHost {
  public:
    UnitHost(const GrepOptions& options, const GrepCallbacks& callbacks, UnitOutput& output)
        : options_(options), callbacks_(callbacks), output_(output) {
        SetSteady(true);
    }
    MatchOptions CurrentOptions() const override { return options_.match; }
    void AddRow(ResultRow row) override { AddRowView(row); }
    void AddRowView(const ResultRowView& row) override {
        ++output_.count;
        callbacks_.format(output_.rows, row);
    }
    void Fail(std::string text) {
        output_.failures.emplace_back(output_.rows.size(), std::move(text));
    }

  private:
    const GrepOptions& options_;
    const GrepCallbacks& callbacks_;
    UnitOutput& output_;
};

std::string PathError(const std::string& path, int error) {
    return std::string(kStatusErrorPrefix) + path + ": " + std::strerror(error);
}

// The units of the run in the order -j1 meets them.
std::vector<GrepUnit> PlanUnits(const GrepOptions& options) {
    using Kind = GrepUnit::Kind;
    std::vector<GrepUnit> units;
    const auto add = [&](Kind kind, std::string text) {
        units.push_back({kind, std::move(text), units.size() + 1});
    };
    const WalkHost walk(options);
    for (const std::string& path : options.paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            add(Kind::Failure, PathError(path, errno));
        } else if (S_ISDIR(info.st_mode)) {
            const std::size_t first = units.size();
            for (FolderWalkStep& step : PlanFolderWalk(path, walk)) {
                const bool failed = !step.failure.empty();
                units.push_back({failed ? Kind::Failure : Kind::File,
                                 std::move(failed ? step.failure : step.path),
                                 first + step.folder_end});
            }
        } else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
            // Devices would be read without end (/dev/zero); pipes are fine (<(command)).
            add(Kind::Failure, std::string(kStatusErrorPrefix) + path + ": not a file or folder");
        } else if (IsProjectPath(path)) {
            add(Kind::Project, path);
        } else {
            // A file named on the command line is searched whatever its extension, and
            // read the way the folder walk reads its files.
            add(Kind::File, path);
        }
    }
    return units;
}

// What each searching thread keeps from one unit to the next.
struct Searcher {
    MatchEngine engine;
    FileBuffer buffer;
};

UnitOutput RunUnit(const GrepUnit& unit, std::string_view search, const GrepOptions& options,
                   const GrepCallbacks& callbacks, Searcher& searcher) {
    UnitOutput output;
    UnitHost host(options, callbacks, output);
    try {
        switch (unit.kind) {
            case GrepUnit::Kind::Failure:
                host.Fail(unit.text);
                break;
            case GrepUnit::Kind::Project:
                SearchProjectPath(unit.text, search, host, searcher.engine,
                                  [&](const std::string& text) { host.Fail(text); });
                break;
            case GrepUnit::Kind::File: {
                Result<std::string_view> bytes = ReadFileBytes(unit.text, searcher.buffer);
                if (!bytes) {
                    host.Fail(std::string(kStatusErrorPrefix) + bytes.error());
                    output.unreadable = true;
                    break;
                }
                SearchEncodedText(*bytes, unit.text, search, host, searcher.engine);
                break;
            }
        }
    } catch (const std::exception& e) {
        host.Fail(std::string(kStatusErrorPrefix) + unit.text + ": " + e.what());
    }
    return output;
}

unsigned ThreadsFor(unsigned jobs) {
    if (jobs > 0) return jobs;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

std::int64_t RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks) {
    const std::string_view search = TrimSpaces(options.search);
    if (search.empty()) return 0;

    const std::vector<GrepUnit> units = PlanUnits(options);
    const unsigned threads = ThreadsFor(options.jobs);
    std::int64_t rows = 0;
    RunJobsInOrder<UnitOutput>(
        units.size(), threads,
        [&](std::size_t i) {
            thread_local Searcher searcher;  // kept from one unit to the next
            return RunUnit(units[i], search, options, callbacks, searcher);
        },
        [&](std::size_t i, UnitOutput& output) {
            std::size_t written = 0;
            for (const auto& [at, text] : output.failures) {
                if (at > written) {
                    callbacks.rows(std::string_view(output.rows).substr(written, at - written));
                }
                written = at;
                callbacks.error(text);
            }
            if (output.rows.size() > written) {
                callbacks.rows(std::string_view(output.rows).substr(written));
            }
            rows += output.count;
            return output.unreadable ? units[i].folder_end : i + 1;
        });
    return rows;
}

}  // namespace trawlex::cli
