#include "platform/shell.h"

namespace trawlex::platform {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;  // an argument has begun, even if it is still empty ("")
    bool inQuotes = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (inQuotes) {
            if (c != '"') {
                current += c;
            } else if (i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == ' ' || c == '\t') {
            if (inArgument) args.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else {
            if (c == '"') {
                inQuotes = true;
            } else {
                current += c;
            }
            inArgument = true;
        }
    }
    if (inArgument) args.push_back(std::move(current));
    return args;
}

}  // namespace trawlex::platform
