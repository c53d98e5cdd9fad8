#include "platform/reg_command.h"

#include <optional>
#include <string_view>

#include "base/ascii_case.h"
#include "base/result.h"
#include "platform/registry.h"
#include "platform/registry_path.h"

namespace trawlex::platform {

namespace {

constexpr const char* kUsage =
    "usage: reg add KEY (/v NAME | /ve) [/t REG_SZ|REG_EXPAND_SZ|REG_DWORD] [/d DATA] [/f]\n"
    "       reg query KEY (/v NAME | /ve)\n"
    "       reg delete KEY [/v NAME | /ve] [/f]\n";

struct Request {
    std::string operation;
    std::string key;                       // without a trailing backslash
    std::optional<std::string> valueName;  // "" is the default value (/ve)
    std::string type = "REG_SZ";
    std::string data;
};

bool SameSwitch(std::string_view arg, std::string_view name) {
    if (arg.size() != name.size() || arg.empty() || (arg[0] != '/' && arg[0] != '-')) {
        return false;
    }
    for (size_t i = 1; i < arg.size(); ++i) {
        char c = arg[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != name[i]) return false;
    }
    return true;
}

Result<Request> Parse(const std::vector<std::string>& args) {
    if (args.size() < 2) return Failure{"an operation and a key are needed"};
    Request request;
    for (char c : args[0]) {
        request.operation += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (request.operation != "add" && request.operation != "query" &&
        request.operation != "delete") {
        return Failure{"unknown operation \"" + args[0] + "\""};
    }
    request.key = args[1];
    while (!request.key.empty() && request.key.back() == '\\') request.key.pop_back();
    if (Result<RegistryPath> parsed = ParseRegistryKeyPath(request.key); !parsed) {
        return Failure{parsed.error()};
    }
    bool typeGiven = false;
    bool dataGiven = false;
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasNext = i + 1 < args.size();
        if (SameSwitch(arg, "/v") && hasNext && !request.valueName) {
            request.valueName = args[++i];
        } else if (SameSwitch(arg, "/ve") && !request.valueName) {
            request.valueName = "";
        } else if (SameSwitch(arg, "/t") && hasNext && request.operation == "add") {
            request.type = args[++i];
            typeGiven = true;
        } else if (SameSwitch(arg, "/d") && hasNext && request.operation == "add") {
            request.data = args[++i];
            dataGiven = true;
        } else if (SameSwitch(arg, "/f") && request.operation != "query") {
            continue;  // never a prompt to skip
        } else {
            return Failure{"unexpected argument \"" + arg + "\""};
        }
    }
    if (request.operation != "delete" && !request.valueName) {
        return Failure{"a value is needed: /v NAME, or /ve for the default value"};
    }
    if (request.operation == "add" && typeGiven && request.type != "REG_SZ" && !dataGiven) {
        // An empty DWORD would only be refused further down with a less telling message.
        return Failure{"/d DATA is needed for a " + request.type + " value"};
    }
    return request;
}

std::string ValuePath(const Request& request) {
    return request.key + "\\" + request.valueName.value_or("");
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Why a query failed, naming what is missing: the key, or the value in a key that exists.
std::string QueryFailure(const Request& request, const std::string& readError) {
    if (!RegKeyExists(request.key)) return "the key " + Quoted(request.key) + " was not found";
    const std::string& name = *request.valueName;
    Result<std::vector<std::string>> names = RegValueNames(request.key);
    if (!names) return names.error();
    for (const std::string& present : *names) {
        if (EqualsIgnoringCase(present, name)) return readError;  // there, but not readable
    }
    if (name.empty()) return "the key " + Quoted(request.key) + " has no default value";
    return "the key " + Quoted(request.key) + " has no value " + Quoted(name);
}

}  // namespace

int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Result<Request> request = Parse(args);
    if (!request) {
        err << "reg: " << request.error() << "\n" << kUsage;
        return kRegFailure;
    }
    Status done;
    if (request->operation == "add") {
        done = RegWrite(ValuePath(*request), request->data, request->type);
    } else if (request->operation == "query") {
        Result<std::string> value = RegRead(ValuePath(*request));
        if (value) out << *value << "\n";
        done = value ? Status() : Status(Failure{QueryFailure(*request, value.error())});
    } else if (request->valueName) {
        done = RegDelete(ValuePath(*request));
    } else {
        done = RegDeleteTree(request->key);
    }
    if (!done) {
        err << "reg: " << done.error() << "\n";
        return kRegFailure;
    }
    return kRegSuccess;
}

}  // namespace trawlex::platform
