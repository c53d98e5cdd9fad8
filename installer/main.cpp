// install: places, registers and removes the Trawlex Plus add-ins. Started from the folder
// that holds trawlex.dll and trawlexup.dll. Without options it shows its windows; with
// --install, --uninstall or --check it works without any (see installer/headless.h).

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "installer/headless.h"
#include "installer/installer_flow.h"
#include "installer/installer_messages.h"

using namespace trawlex::installer;

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedArguments parsed = ParseArguments(args);
    if (parsed.usageError) {
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    std::error_code error;
    const std::string folder = std::filesystem::current_path(error).string();
    if (parsed.action) return RunHeadless(*parsed.action, folder, std::cout, std::cerr);

    QApplication app(argc, argv);
    app.setApplicationName("install");
    // The program ends by its own rules, not when a window happens to be the last one.
    app.setQuitOnLastWindowClosed(false);
    InstallerMessages messages;
    InstallerSettings settings;
    settings.folder = folder;
    InstallerFlow flow(settings, messages);
    flow.Start();
    return app.exec();
}
