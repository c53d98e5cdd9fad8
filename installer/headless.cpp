#include "installer/headless.h"

#include <ostream>

#include "installer/install_checks.h"
#include "installer/installer_texts.h"
#include "registration/registration.h"

namespace trawlex::installer {

namespace {

void PrintSteps(const char* heading, const std::vector<registration::StepFailure>& steps,
                std::ostream& err) {
    for (const registration::StepFailure& step : steps) {
        err << "install: " << heading << step.step << ": " << step.description << " (error "
            << step.number << ")\n";
    }
}

bool CheckLibraries(const std::string& folder, std::ostream& out) {
    return RunInstallChecks(
        folder, [&out](const CheckRow& row) { out << row.text << "\n"; }, [](int) { return true; });
}

int Install(const std::string& folder, std::ostream& out, std::ostream& err) {
    if (!CheckLibraries(folder, out)) {
        err << "install: trawlex.dll and trawlexup.dll must both be in " << folder
            << "; nothing was changed\n";
        return kExitFailed;
    }
    // As in the window, a failed removal of the old installation does not stop the
    // installation; it is told all the same.
    registration::Outcome removed = registration::UninstallAll();
    PrintSteps("warning: removing the old installation: ", removed.failures(), err);
    PrintSteps("note: ", removed.notes(), err);
    registration::Outcome installed = registration::InstallAddins(folder);
    if (!installed) {
        PrintSteps("failed: ", installed.failures(), err);
        err << InstallFailedMessage(installed) << "\n";
        return kExitFailed;
    }
    out << kInstallSucceeded << "\n";
    return kExitSuccess;
}

int Uninstall(std::ostream& out, std::ostream& err) {
    registration::Outcome removed = registration::UninstallAll();
    PrintSteps("note: ", removed.notes(), err);
    if (!removed) {
        PrintSteps("failed: ", removed.failures(), err);
        err << kUninstallFailed << "\n";
        return kExitFailed;
    }
    out << kUninstallSucceeded << "\n";
    return kExitSuccess;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    for (const std::string& arg : args) {
        std::optional<HeadlessAction> action;
        if (arg == "--install") action = HeadlessAction::Install;
        if (arg == "--uninstall") action = HeadlessAction::Uninstall;
        if (arg == "--check") action = HeadlessAction::Check;
        if (arg == "--help" || arg == "-h") action = HeadlessAction::Help;
        if (!action || parsed.action) {
            parsed.usageError = true;
            return parsed;
        }
        parsed.action = action;
    }
    return parsed;
}

void PrintUsage(std::ostream& out) {
    out << "usage: install [--install | --uninstall | --check]\n"
           "Without an option the installer's windows open.\n"
           "  --install     remove any earlier installation, then copy trawlex.dll and\n"
           "                trawlexup.dll from the current directory to the system directory\n"
           "                and register them\n"
           "  --uninstall   remove both add-ins, their records and settings\n"
           "  --check       print the checks; exit 0 when installation is possible\n"
           "Exit status: 0 success, 1 the operation failed, 2 usage error.\n";
}

int RunHeadless(HeadlessAction action, const std::string& folder, std::ostream& out,
                std::ostream& err) {
    switch (action) {
        case HeadlessAction::Install:
            return Install(folder, out, err);
        case HeadlessAction::Uninstall:
            return Uninstall(out, err);
        case HeadlessAction::Check:
            return CheckLibraries(folder, out) ? kExitSuccess : kExitFailed;
        case HeadlessAction::Help:
            PrintUsage(out);
            return kExitSuccess;
    }
    return kExitUsage;
}

}  // namespace trawlex::installer
