#include "updater/update_server.h"

#include <cstdlib>

#include "base/ascii_case.h"

namespace trawlex::updater {

std::string DefaultServer() {
    const char* server = std::getenv(kServerVariable);
    return server && *server ? server : kMakerServer;
}

Result<std::string> CheckServer(std::string_view server) {
    std::string base(server);
    while (!base.empty() && base.back() == '/') base.pop_back();
    const auto invalid = [&](const std::string& why) {
        return Failure{"the update server \"" + std::string(server) + "\" is not usable: " + why};
    };
    size_t schemeEnd = base.find("://");
    if (schemeEnd == std::string::npos) return invalid("it is not an http:// or https:// URL");
    const std::string scheme = base.substr(0, schemeEnd);
    if (!EqualsIgnoringCase(scheme, "http") && !EqualsIgnoringCase(scheme, "https")) {
        return invalid("it is not an http:// or https:// URL");
    }
    const std::string rest = base.substr(schemeEnd + 3);
    if (rest.empty() || rest.front() == '/' || rest.front() == ':') return invalid("no host");
    if (rest.find_first_of("?# \t\r\n") != std::string::npos) {
        return invalid("it holds a query, a fragment or a blank");
    }
    return base;
}

std::string LibraryUrl(std::string_view server, std::string_view key) {
    return std::string(server) + kLibraryPath + std::string(key) + ".dll";
}

}  // namespace trawlex::updater
