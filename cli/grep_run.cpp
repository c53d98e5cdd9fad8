#include "cli/grep_run.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "cli/ordered_jobs.h"
#include "cli/project_search.h"
#include "office/document_search.h"
#include "office/office_document.h"
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
};

// What a unit found while it ran on another thread, held until its turn: the texts of its
// rows in one buffer, and its failures with the number of rows that came before each; or,
// where the thread writes its rows, their text and the failures with the size of the text
// written before each.
struct UnitOutput {
    struct Row {
        std::size_t name = 0, name_size = 0;
        std::size_t procedure = 0, procedure_size = 0;
        std::size_t scope = 0, scope_size = 0;
        std::size_t content = 0, content_size = 0;
        std::size_t module = 0, module_size = 0;
        std::int64_t line = 0;
        std::uint32_t lead_spaces = 0;
        std::uint32_t trail_spaces = 0;
        LineStart start = LineStart::Statement;
    };
    std::string texts;
    std::vector<Row> rows;
    std::string written;
    std::vector<std::pair<std::size_t, std::string>> failures;
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

// Where one unit's rows and failures go: to the callbacks at once (`output` null) or into
// `output` to be handed over in their turn, as text when a `writer` is given.
class UnitRows final : public trawlex::RowSink {
  public:
    UnitRows(const GrepCallbacks& callbacks, UnitOutput* output, RowWriter* writer)
        : callbacks_(callbacks), output_(output), writer_(writer) {}
    void AddRow(ResultRow row) override { AddRowView(row); }
    void AddRowView(const ResultRowView& row) override {
        ++rows_;
        if (!output_) return callbacks_.row(row);
        if (writer_) return writer_->Append(row, output_->written);
        std::string& texts = output_->texts;
        const auto keep = [&](std::string_view text, std::size_t& at, std::size_t& size) {
            at = texts.size();
            size = text.size();
            texts.append(text);
        };
        UnitOutput::Row& kept = output_->rows.emplace_back();
        keep(row.name, kept.name, kept.name_size);
        keep(row.procedure, kept.procedure, kept.procedure_size);
        keep(row.scope, kept.scope, kept.scope_size);
        keep(row.content, kept.content, kept.content_size);
        keep(row.module, kept.module, kept.module_size);
        kept.line = row.line;
        kept.lead_spaces = row.lead_spaces;
        kept.trail_spaces = row.trail_spaces;
        kept.start = row.start;
    }
    void LineUntested(std::string_view name, std::int64_t line) override {
        Fail(std::string(kStatusErrorPrefix) + std::string(name) + ":" + std::to_string(line) +
             ": not tested: the regular expression needs too much work on this line");
    }
    void Fail(std::string text) {
        trouble_ = true;
        if (!output_) return callbacks_.error(text);
        const std::size_t before = writer_ ? output_->written.size() : output_->rows.size();
        output_->failures.emplace_back(before, std::move(text));
    }
    std::int64_t Rows() const { return rows_; }
    bool Trouble() const { return trouble_; }

  private:
    const GrepCallbacks& callbacks_;
    UnitOutput* output_;
    RowWriter* writer_;
    std::int64_t rows_ = 0;
    bool trouble_ = false;
};

std::string PathError(const std::string& path, int error) {
    return std::string(kStatusErrorPrefix) + path + ": " + std::strerror(error);
}

// The units of the run in walk order.
std::vector<GrepUnit> PlanUnits(const GrepOptions& options) {
    using Kind = GrepUnit::Kind;
    std::vector<GrepUnit> units;
    const WalkHost walk(options);
    for (const std::string& path : options.paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            units.push_back({Kind::Failure, PathError(path, errno)});
        } else if (S_ISDIR(info.st_mode)) {
            for (FolderWalkStep& step : PlanFolderWalk(path, walk)) {
                if (step.failure.empty()) {
                    units.push_back({Kind::File, std::move(step.path)});
                } else {
                    units.push_back({Kind::Failure, std::move(step.failure)});
                }
            }
        } else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
            // Devices would be read without end (/dev/zero); pipes are fine (<(command)).
            units.push_back(
                {Kind::Failure, std::string(kStatusErrorPrefix) + path + ": not a file or folder"});
        } else if (IsProjectPath(path)) {
            units.push_back({Kind::Project, path});
        } else {
            // A file named on the command line is searched whatever its extension, and
            // read the way the folder walk reads its files.
            units.push_back({Kind::File, path});
        }
    }
    return units;
}

// What each searching thread keeps from one unit to the next.
struct Searcher {
    MatchEngine engine;
    FileBuffer buffer;
};

void RunUnit(const GrepUnit& unit, const GrepOptions& options, std::string_view search,
             const ScanRoles& roles, UnitRows& rows, Searcher& searcher) {
    try {
        switch (unit.kind) {
            case GrepUnit::Kind::Failure:
                rows.Fail(unit.text);
                break;
            case GrepUnit::Kind::Project:
                SearchProjectPath(unit.text, search, roles, searcher.engine, options.encoding,
                                  [&](const std::string& text) { rows.Fail(text); });
                break;
            case GrepUnit::Kind::File: {
                Result<std::string_view> bytes = ReadFileBytes(unit.text, searcher.buffer);
                if (!bytes) {
                    rows.Fail(std::string(kStatusErrorPrefix) + bytes.error());
                    break;
                }
                if (options.office && office::IsOfficeDocumentName(unit.text)) {
                    office::SearchOfficeDocument(*bytes, unit.text, search, roles, searcher.engine,
                                                 [&](const std::string& text) { rows.Fail(text); });
                    break;
                }
                SearchEncodedText(*bytes, unit.text, search, roles, searcher.engine);
                break;
            }
        }
    } catch (const std::exception& e) {
        rows.Fail(std::string(kStatusErrorPrefix) + unit.text + ": " + e.what());
    }
}

// Hands a unit's written rows and failures to the callbacks in the order they came.
void HandOverWritten(const UnitOutput& output, const GrepCallbacks& callbacks) {
    const std::string_view written = output.written;
    std::size_t done = 0;
    for (const auto& [before, text] : output.failures) {
        callbacks.text(written.substr(done, before - done));
        done = before;
        callbacks.error(text);
    }
    callbacks.text(written.substr(done));
}

// Hands a unit's held rows and failures to the callbacks in the order they came.
void HandOver(const UnitOutput& output, const GrepCallbacks& callbacks) {
    const std::string_view texts = output.texts;
    auto failure = output.failures.begin();
    for (std::size_t i = 0; i <= output.rows.size(); ++i) {
        for (; failure != output.failures.end() && failure->first == i; ++failure) {
            callbacks.error(failure->second);
        }
        if (i == output.rows.size()) break;
        const UnitOutput::Row& row = output.rows[i];
        ResultRowView view(texts.substr(row.name, row.name_size), row.line,
                           texts.substr(row.procedure, row.procedure_size),
                           texts.substr(row.scope, row.scope_size),
                           texts.substr(row.content, row.content_size));
        view.module = texts.substr(row.module, row.module_size);
        view.lead_spaces = row.lead_spaces;
        view.trail_spaces = row.trail_spaces;
        view.start = row.start;
        callbacks.row(view);
    }
}

unsigned ThreadsFor(unsigned jobs) {
    if (jobs > 0) return jobs;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

GrepOutcome RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks) {
    const std::string_view search = TrimSpaces(options.search);
    if (search.empty()) return {};

    GrepOutcome outcome;
    {
        MatchEngine engine;
        if (const std::string error = engine.PatternError(search, options.match); !error.empty()) {
            callbacks.error(std::string(kStatusErrorPrefix) + error);
            return {0, true};
        }
    }
    const std::vector<GrepUnit> units = PlanUnits(options);
    const FixedOptions fixed(options.match, options.WantedRegions(), options.encoding);
    const unsigned threads = ThreadsFor(options.jobs);
    // With one thread every unit reports as it runs; with more each holds its findings
    // until the units before it have handed theirs over, written as text where it can be.
    const bool direct = threads == 1;
    const bool written = !direct && callbacks.writer && callbacks.text;
    std::mutex writers_mutex;
    std::map<std::thread::id, std::unique_ptr<RowWriter>> writers;
    const auto writer_of_this_thread = [&]() -> RowWriter* {
        if (!written) return nullptr;
        const std::lock_guard lock(writers_mutex);
        std::unique_ptr<RowWriter>& writer = writers[std::this_thread::get_id()];
        if (!writer) writer = callbacks.writer();
        return writer.get();
    };
    struct Ran {
        UnitOutput output;
        std::int64_t rows = 0;
        bool trouble = false;
    };
    RunJobsInOrder<Ran>(
        units.size(), threads,
        [&](std::size_t i) {
            thread_local Searcher searcher;  // kept from one unit to the next
            Ran ran;
            UnitRows rows(callbacks, direct ? nullptr : &ran.output, writer_of_this_thread());
            SteadyControl control;
            RunUnit(units[i], options, search, ScanRoles(rows, control, fixed), rows, searcher);
            ran.rows = rows.Rows();
            ran.trouble = rows.Trouble();
            return ran;
        },
        [&](std::size_t i, Ran& ran) {
            if (written) {
                HandOverWritten(ran.output, callbacks);
            } else if (!direct) {
                HandOver(ran.output, callbacks);
            }
            outcome.rows += ran.rows;
            outcome.trouble = outcome.trouble || ran.trouble;
            return i + 1;
        });
    return outcome;
}

}  // namespace trawlex::cli
