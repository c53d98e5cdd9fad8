#include "cli/grep_options.h"

#include <charconv>
#include <optional>

#include "cli/extra_options.h"

namespace trawlex::cli {
namespace {

std::optional<SearchMode> ModeFromName(std::string_view name) {
    if (name == "normal") return SearchMode::Normal;
    if (name == "wildcard") return SearchMode::Wildcard;
    if (name == "regex") return SearchMode::Regex;
    if (name == "word") return SearchMode::Word;
    return std::nullopt;
}

std::optional<EncodingChoice> EncodingFromName(std::string_view name) {
    if (name == "auto") return EncodingChoice::Auto;
    if (name == "cp932") return EncodingChoice::Cp932;
    if (name == "utf-8") return EncodingChoice::Utf8;
    return std::nullopt;
}

std::optional<OutputFormat> FormatFromName(std::string_view name) {
    if (name == "text") return OutputFormat::Text;
    if (name == "tsv") return OutputFormat::Tsv;
    if (name == "jsonl") return OutputFormat::Jsonl;
    return std::nullopt;
}

// Options that take a value accept it as the next argument or after "=".
struct ValueOption {
    std::string_view name;
    std::optional<std::string_view> inlineValue;
};

ValueOption SplitInlineValue(std::string_view arg) {
    const auto eq = arg.find('=');
    if (eq == std::string_view::npos) return {arg, std::nullopt};
    return {arg.substr(0, eq), arg.substr(eq + 1)};
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted.append(text);
    quoted.push_back('\'');
    return quoted;
}

std::optional<unsigned> JobsFromText(std::string_view text) {
    unsigned jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs == 0 || jobs > 1024) {
        return std::nullopt;
    }
    return jobs;
}

}  // namespace

std::string ExtListFromCommaList(std::string_view list) {
    std::string result;
    while (true) {
        const auto comma = list.find(',');
        std::string_view item = TrimSpaces(list.substr(0, comma));
        if (item.starts_with("*.")) {
            item.remove_prefix(2);
        } else if (item.starts_with('.')) {
            item.remove_prefix(1);
        }
        if (item == "*") return "*";
        if (!item.empty()) {
            if (!result.empty()) result += ';';
            result += "*.";
            result += item;
        }
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return result;
}

ParsedArgs ParseGrepArgs(const std::vector<std::string_view>& args) {
    GrepOptions options;
    std::vector<std::string_view> positional;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (!optionsEnded && arg.starts_with("-j")) {
            // -j N or -jN
            std::string_view value = arg.substr(2);
            if (value.empty()) {
                if (i + 1 >= args.size()) return UsageError{"option '-j' needs a value"};
                value = args[++i];
            }
            const auto jobs = JobsFromText(value);
            if (!jobs)
                return UsageError{"-j needs a number of jobs from 1 to 1024, not " + Quoted(value)};
            options.jobs = *jobs;
            continue;
        }
        if (optionsEnded || !arg.starts_with("--")) {
            // A lone "-" is an ordinary argument, as is anything after "--".
            if (!optionsEnded && arg.starts_with('-') && arg != "-") {
                return UsageError{"unknown option " + Quoted(arg)};
            }
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") return HelpRequested{};
        if (arg == "--binary") {
            options.match.binary = true;
            continue;
        }
        if (arg == "--no-subfolders") {
            options.searchSubfolders = false;
            continue;
        }
        if (ApplyDisplayFlag(options, arg)) continue;

        const ValueOption option = SplitInlineValue(arg);
        if (option.name != "--mode" && option.name != "--format" && option.name != "--ext" &&
            option.name != "--encoding" && option.name != "--office" &&
            !IsDisplayValueOption(option.name)) {
            return UsageError{"unknown option " + Quoted(option.name)};
        }
        std::string_view value;
        if (option.inlineValue) {
            value = *option.inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return UsageError{"option " + Quoted(option.name) + " needs a value"};
        }

        if (IsDisplayValueOption(option.name)) {
            if (auto error = ApplyDisplayValueOption(options, option.name, value)) {
                return UsageError{*error};
            }
        } else if (option.name == "--mode") {
            const auto mode = ModeFromName(value);
            if (!mode) return UsageError{"unknown mode " + Quoted(value)};
            options.match.mode = *mode;
        } else if (option.name == "--format") {
            const auto format = FormatFromName(value);
            if (!format) return UsageError{"unknown format " + Quoted(value)};
            options.format = *format;
        } else if (option.name == "--office") {
            if (value != "yes" && value != "no") return UsageError{"--office takes yes or no"};
            options.office = value == "yes";
        } else if (option.name == "--encoding") {
            const auto encoding = EncodingFromName(value);
            if (!encoding) return UsageError{"unknown encoding " + Quoted(value)};
            options.encoding = *encoding;
        } else {
            options.extList = ExtListFromCommaList(value);
            if (options.extList.empty()) {
                return UsageError{"--ext " + Quoted(value) + " names no extension"};
            }
        }
    }

    if (positional.empty()) return UsageError{"missing SEARCH"};
    if (positional.size() < 2) return UsageError{"missing PATH"};
    options.search = std::string(positional.front());
    for (std::size_t i = 1; i < positional.size(); ++i) {
        options.paths.emplace_back(positional[i]);
    }
    return options;
}

}  // namespace trawlex::cli
