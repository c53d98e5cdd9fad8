// trawlex-update: the updater without the editor, for scripts and tests.
//   trawlex-update [--server URL] --list          one key per line, in probe order
//   trawlex-update [--server URL] --install KEY   installs that version of trawlex.dll
// Exit status: 0 success; 1 the installation failed (the library that was there before is in
// place and registered); 2 a usage error or a server that cannot be reached.

#include <QCoreApplication>
#include <cstdio>
#include <optional>
#include <string>

#include "updater/install_version.h"
#include "updater/proxy_rule.h"
#include "updater/update_request.h"
#include "updater/update_server.h"
#include "updater/version_probe.h"

namespace {

using namespace trawlex;
using namespace trawlex::updater;

enum Exit : int { kSuccess = 0, kInstallFailed = 1, kUsageOrServer = 2 };

const std::string kUsage =
    std::string(
        "usage: trawlex-update [--server URL] --list\n"
        "       trawlex-update [--server URL] --install KEY\n"
        "--list lists the versions of trawlex.dll on the update server, one key (3.00) a line.\n"
        "--install KEY replaces trawlex.dll in the system directory with that version and\n"
        "registers it; on failure the library that was there stays, registered.\n"
        "The server defaults to $TRAWLEX_UPDATE_SERVER, else ") +
    kMakerServer + ".\n";

struct Options {
    std::string server = DefaultServer();
    bool list = false;
    std::optional<std::string> install;
};

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "trawlex-update: %s\n", message.c_str());
    return code;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "trawlex-update: %s\n%s", message.c_str(), kUsage.c_str());
    return kUsageOrServer;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            std::fputs(kUsage.c_str(), stdout);
            return kSuccess;
        } else if (arg == "--server" && i + 1 < argc) {
            options.server = argv[++i];
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--install" && i + 1 < argc) {
            options.install = argv[++i];
        } else {
            return UsageError("unknown or incomplete argument: " + arg);
        }
    }
    if (options.list == options.install.has_value()) {
        return UsageError("give either --list or --install KEY");
    }
    if (options.install && !ParseVersionKey(*options.install)) {
        return UsageError("\"" + *options.install + "\" is no version key (like 3.01)");
    }
    Result<std::string> server = CheckServer(options.server);
    if (!server) return UsageError(server.error());
    Result<std::optional<ProxyServer>> proxy = ReadProxyRule();
    if (!proxy) return Fail(kUsageOrServer, proxy.error());
    UpdateRequest request(*server, *proxy);

    if (options.list) {
        Result<ProbeResult> probe = ProbeVersions(
            [&](Version v) { return request.VersionExists(VersionKey(v)); }, UpdaterVersion());
        if (!probe) return Fail(kUsageOrServer, probe.error());
        for (const Version& version : probe->versions) {
            std::printf("%s\n", VersionKey(version).c_str());
        }
        return kSuccess;
    }
    Status installed = InstallVersion(request, *options.install);
    if (!installed) {
        return Fail(request.answered() ? kInstallFailed : kUsageOrServer, installed.error());
    }
    std::printf("trawlex.dll is now version %s\n", options.install->c_str());
    return kSuccess;
}
