#include "installer_test_machine.h"

#include <QDir>
#include <QFile>
#include <cstdlib>

#include "platform/registry.h"

namespace installer_test {

TestMachine::TestMachine(Staged staged) : previousRoot_(qgetenv("TRAWLEX_ROOT")) {
    qputenv("TRAWLEX_ROOT", dir_.path().toUtf8());
    QDir(root()).mkpath("system32");
    QFile::link(TRAWLEX_REGSVR32, systemFile("regsvr32"));
    QDir(root()).mkpath("staging");
    if (staged != kNoLibraries) QFile::copy(TRAWLEX_TEST_ADDIN, staging() + "/trawlex.dll");
    if (staged == kBothLibraries) QFile::copy(TRAWLEX_TEST_UPDATER, staging() + "/trawlexup.dll");
}

TestMachine::~TestMachine() {
    qunsetenv("TRAWLEX_TEST_ADDIN_FAIL");
    if (previousRoot_.isEmpty()) {
        qunsetenv("TRAWLEX_ROOT");
    } else {
        qputenv("TRAWLEX_ROOT", previousRoot_);
    }
}

bool TestMachine::AddEditorMarkers() const {
    const bool written =
        trawlex::platform::RegWrite(
            "HKLM\\SOFTWARE\\Microsoft\\Visual Basic\\6.0\\External Tools\\HTML Editor",
            "notepad.exe")
            .ok();
    const QString folder = root() + "/Program Files/Common Files/Microsoft Shared/VBA/VBA6";
    QDir().mkpath(folder);
    QFile library(folder + "/vbe6.dll");
    return written && library.open(QIODevice::WriteOnly) && library.write("editor") > 0;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace installer_test
