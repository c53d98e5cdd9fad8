// trawlex-grep: the search engine on the command line.

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/buffered_output.h"
#include "cli/grep_options.h"
#include "cli/grep_run.h"
#include "cli/help_text.h"
#include "cli/row_format.h"

namespace {

using namespace trawlex::cli;
using trawlex::kStatusErrorPrefix;
using trawlex::RunSummaryText;

constexpr int kExitFound = 0;
constexpr int kExitNone = 1;
constexpr int kExitTrouble = 2;

bool ColourWanted() {
    const char* noColour = std::getenv("NO_COLOR");
    return noColour == nullptr || *noColour == '\0';
}

void WriteLine(BufferedOutput& out, std::string_view line) {
    out.Append(line);
    out.Append('\n');
    out.Flush();
}

int Run(const GrepOptions& options, BufferedOutput& out, BufferedOutput& err) {
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    const TextStyle style{terminal && ColourWanted(), terminal};

    GrepCallbacks callbacks;
    callbacks.format = [&](std::string& buffer, const trawlex::ResultRowView& row) {
        switch (options.format) {
            case OutputFormat::Text:
                AppendTextRow(buffer, row, style);
                break;
            case OutputFormat::Tsv:
                AppendTsvRow(buffer, row);
                break;
            case OutputFormat::Jsonl:
                AppendJsonRow(buffer, row);
                break;
        }
    };
    callbacks.rows = [&](std::string_view rows) { out.Append(rows); };
    callbacks.error = [&](const std::string& text) {
        out.Flush();  // rows found before the failure come first on a shared terminal
        WriteLine(err, text);
    };

    const std::int64_t rows = RunGrep(options, callbacks);
    out.Flush();
    if (out.Failed()) {
        WriteLine(err, std::string(kStatusErrorPrefix) + "output: " + out.Error());
        return kExitTrouble;
    }
    WriteLine(err, RunSummaryText(rows));
    return rows > 0 ? kExitFound : kExitNone;
}

}  // namespace

int main(int argc, char** argv) {
    BufferedOutput out(STDOUT_FILENO);
    BufferedOutput err(STDERR_FILENO);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const ParsedArgs parsed = ParseGrepArgs(args);

    if (std::holds_alternative<HelpRequested>(parsed)) {
        out.Append(kUsageLine);
        out.Append(kHelpText);
        out.Flush();
        return out.Failed() ? kExitTrouble : kExitFound;
    }
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        err.Append("trawlex-grep: " + error->message + "\n");
        err.Append(kUsageLine);
        err.Append("Try 'trawlex-grep --help' for more information.\n");
        return kExitTrouble;
    }
    return Run(std::get<GrepOptions>(parsed), out, err);
}
