// trawlex-grep: the search engine on the command line.

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/buffered_output.h"
#include "cli/grep_options.h"
#include "cli/grep_run.h"
#include "cli/help_text.h"
#include "cli/row_format.h"
#include "cli/row_sink.h"

namespace {

using namespace trawlex::cli;
using trawlex::kStatusErrorPrefix;
using trawlex::RunSummaryText;

constexpr int kExitFound = 0;
constexpr int kExitNone = 1;
constexpr int kExitTrouble = 2;

void WriteLine(BufferedOutput& out, std::string_view line) {
    out.Append(line);
    out.Append('\n');
    out.Flush();
}

int Run(const GrepOptions& options, BufferedOutput& out, BufferedOutput& err) {
    const bool terminal = ::isatty(STDOUT_FILENO) == 1;
    const TextStyle style{ColourWanted(options.color, terminal), terminal};
    RowSink sink(options, out, style);

    GrepCallbacks callbacks;
    callbacks.row = [&](const trawlex::ResultRowView& row) { sink.Add(row); };
    if (!options.count) {
        // With several jobs the rows are written as text by the threads that find them.
        callbacks.writer = [&] { return std::make_unique<RowText>(options, style); };
        callbacks.text = [&](std::string_view text) { out.Append(text); };
    }
    // File names and texts in messages can hold control characters too.
    const bool errTerminal = ::isatty(STDERR_FILENO) == 1;
    callbacks.error = [&](const std::string& text) {
        sink.EndGroup();
        out.Flush();  // rows found before the failure come first on a shared terminal
        if (!errTerminal) return WriteLine(err, text);
        std::string visible;
        AppendForTerminal(visible, text);
        WriteLine(err, visible);
    };

    const GrepOutcome outcome = RunGrep(options, callbacks);
    sink.EndGroup();
    out.Flush();
    if (out.Failed()) {
        WriteLine(err, std::string(kStatusErrorPrefix) + "output: " + out.Error());
        return kExitTrouble;
    }
    WriteLine(err, RunSummaryText(outcome.rows));
    if (outcome.trouble) return kExitTrouble;
    return outcome.rows > 0 ? kExitFound : kExitNone;
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
        std::string message = "trawlex-grep: ";
        if (::isatty(STDERR_FILENO) == 1) {
            AppendForTerminal(message, error->message);
        } else {
            message += error->message;
        }
        err.Append(message + "\n");
        err.Append(kUsageLine);
        err.Append("Try 'trawlex-grep --help' for more information.\n");
        return kExitTrouble;
    }
    return Run(std::get<GrepOptions>(parsed), out, err);
}
