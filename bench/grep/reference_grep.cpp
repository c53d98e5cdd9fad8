// The benchmark's yardstick for rows: the folder walked with the engine's listing, every file
// decoded whole and every line put through the plain line-by-line scan. Prints tsv rows like
// `trawlex-grep --format tsv`, so the two outputs can be compared byte for byte.
//   reference-grep normal|wildcard|regex|word binary(0|1) SEARCH FOLDER

#include <cstdio>
#include <string>

#include "cli/grep_options.h"
#include "cli/row_format.h"
#include "search/file_reader.h"
#include "search/folder_listing.h"
#include "search/text_scan.h"

namespace {

class TsvHost : public trawlex::ScanHost {
  public:
    explicit TsvHost(trawlex::MatchOptions options) : options_(options) {}
    trawlex::MatchOptions CurrentOptions() const override { return options_; }
    void AddRow(trawlex::ResultRow row) override { trawlex::cli::AppendTsvRow(out, row); }
    std::string out;

  private:
    trawlex::MatchOptions options_;
};

std::string Join(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

void Walk(const std::string& folder, std::string_view search, TsvHost& host,
          trawlex::MatchEngine& engine) {
    const auto listing = trawlex::ListFolder(folder);
    if (!listing) return;
    for (const std::string& name : listing->files) {
        const std::string path = Join(folder, name);
        const auto text = trawlex::ReadTextFile(path);
        if (!text) return;
        trawlex::SearchTextLineByLine(*text, path, search, host, engine);
    }
    for (const std::string& name : listing->folders) Walk(Join(folder, name), search, host, engine);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: reference-grep normal|wildcard|regex|word 0|1 SEARCH FOLDER\n");
        return 2;
    }
    // The mode names are those of trawlex-grep.
    const auto parsed = trawlex::cli::ParseGrepArgs({"--mode", argv[1], argv[3], argv[4]});
    const auto* options = std::get_if<trawlex::cli::GrepOptions>(&parsed);
    if (options == nullptr) return 2;
    TsvHost host({options->match.mode, argv[2][0] == '1'});
    trawlex::MatchEngine engine;
    Walk(argv[4], trawlex::cli::TrimSpaces(argv[3]), host, engine);
    std::fwrite(host.out.data(), 1, host.out.size(), stdout);
    return 0;
}
