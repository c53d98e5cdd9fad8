#include "cli/grep_run.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/text_decode.h"
#include "cli/project_search.h"
#include "office/document_search.h"
#include "office/office_document.h"
#include "search/file_reader.h"
#include "search/folder_search.h"
#include "search/match_engine.h"
#include "search/text_scan.h"

namespace trawlex::cli {
namespace {

// The engine's view of a command-line run: fixed options, no yielding, never stopped.
class CliSearchHost : public FolderSearchHost {
  public:
    CliSearchHost(const GrepOptions& options, const GrepCallbacks& callbacks)
        : options_(options), callbacks_(callbacks) {
        SetSteady(true);  // never yields, never stopped, options fixed for the run
    }

    void Yield() override {}
    MatchOptions CurrentOptions() const override { return options_.match; }
    EncodingChoice FileEncoding() const override { return options_.encoding; }
    void AddRow(ResultRow row) override {
        ++rows_;
        callbacks_.row(row);
    }
    void LineUntested(std::string_view name, std::int64_t line) override {
        ReportError(std::string(kStatusErrorPrefix) + std::string(name) + ":" +
                    std::to_string(line) +
                    ": not tested: the regular expression needs too much work on this line");
    }
    std::string ExtList() const override { return options_.extList; }
    bool SearchSubfolders() const override { return options_.searchSubfolders; }
    void SetStatus(std::string text) override { ReportError(text); }
    bool SearchOwnWay(const std::string& path, std::string_view bytes, std::string_view search,
                      MatchEngine& engine) override {
        if (!options_.office || !office::IsOfficeDocumentName(path)) return false;
        office::SearchOfficeDocument(bytes, path, search, *this, engine,
                                     [this](const std::string& text) { ReportError(text); });
        return true;
    }

    void ReportError(const std::string& text) {
        trouble_ = true;
        callbacks_.error(text);
    }
    GrepOutcome Outcome() const { return {rows_, trouble_}; }

  private:
    const GrepOptions& options_;
    const GrepCallbacks& callbacks_;
    std::int64_t rows_ = 0;
    bool trouble_ = false;
};

std::string PathError(const std::string& path, int error) {
    return std::string(kStatusErrorPrefix) + path + ": " + std::strerror(error);
}

}  // namespace

GrepOutcome RunGrep(const GrepOptions& options, const GrepCallbacks& callbacks) {
    const std::string_view search = TrimSpaces(options.search);
    if (search.empty()) return {};

    CliSearchHost host(options, callbacks);
    MatchEngine engine;
    if (const std::string error = engine.PatternError(search, options.match); !error.empty()) {
        host.ReportError(std::string(kStatusErrorPrefix) + error);
        return host.Outcome();
    }
    FileBuffer buffer;
    for (const std::string& path : options.paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            host.ReportError(PathError(path, errno));
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            SearchFolder(path, search, host, engine);
            continue;
        }
        // Devices would be read without end (/dev/zero); pipes are fine (<(command)).
        if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) {
            host.ReportError(std::string(kStatusErrorPrefix) + path + ": not a file or folder");
            continue;
        }
        if (IsProjectPath(path)) {
            SearchProjectPath(path, search, host, engine,
                              [&host](const std::string& text) { host.ReportError(text); });
            continue;
        }
        // A file named on the command line is searched whatever its extension, and read
        // the way the folder walk reads its files.
        Result<std::string_view> bytes = ReadFileBytes(path, buffer);
        if (!bytes) {
            host.ReportError(std::string(kStatusErrorPrefix) + bytes.error());
            continue;
        }
        if (host.SearchOwnWay(path, *bytes, search, engine)) continue;
        SearchEncodedText(*bytes, path, search, host, engine);
    }
    return host.Outcome();
}

}  // namespace trawlex::cli
