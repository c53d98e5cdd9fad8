// InstallVersion in a temporary machine: a good library replaces trawlex.dll and is
// registered as the installer registers it; every broken download or failing step leaves
// the installed library byte for byte as it was, registered, and says why.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QtTest>

#include "update_test_support.h"
#include "updater/install_version.h"
#include "updater/update_request.h"

using namespace trawlex;
using namespace trawlex::updater;
using updater_test::FolderServer;
using updater_test::ScriptedServer;
using updater_test::TempMachine;

namespace {

constexpr int kShortTimeoutMs = 2000;

// The installed library before the update: the built one with a tail of its own, so it is
// longer than a plain download and differs from it.
QByteArray OldLibrary() {
    return updater_test::MainLibraryBytes() + QByteArray(100'000, '\0') + "previous version";
}

// Root may write into a read-only folder; without CAP_DAC_OVERRIDE in this thread it may
// not. The capability stays permitted and comes back when the object goes.
class WithoutDacOverride {
  public:
    WithoutDacOverride() {
        if (geteuid() != 0) return;
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        active_ = syscall(SYS_capget, &header_, data_) == 0;
        if (!active_) return;
        __user_cap_data_struct reduced[2] = {data_[0], data_[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutDacOverride() {
        if (active_) syscall(SYS_capset, &header_, data_);
    }
    bool ok() const { return geteuid() != 0 || active_; }

  private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct data_[2]{};
    bool active_ = false;
};

}  // namespace

class InstallTest : public QObject {
    Q_OBJECT
  private slots:
    void aGoodLibraryReplacesTheInstalledOne();
    void aShorterDownloadLeavesExactlyItsBytes();
    void aBrokenDownloadNeverReplacesTheInstalledLibrary_data();
    void aBrokenDownloadNeverReplacesTheInstalledLibrary();
    void aReadOnlySystemDirectoryFailsCleanly();
    void aLibraryThatFailsToRegisterIsRolledBack();
};

void InstallTest::aGoodLibraryReplacesTheInstalledOne() {
    TempMachine machine;
    QVERIFY(machine.InstallMainLibrary(OldLibrary()));
    QCOMPARE(updater_test::RegistrationProblem(machine), QString());
    FolderServer server;
    const QByteArray newLibrary = updater_test::MainLibraryBytes() + "version 3.01";
    server.Put("3.01", newLibrary);

    UpdateRequest request(server.url().toStdString(), std::nullopt);
    Status installed = InstallVersion(request, "3.01");
    QVERIFY2(installed, installed.error().c_str());
    QCOMPARE(server.requests(), QStringList("POST /tools/trawlex/dlls_upd/trawlex-3.01.dll"));
    QCOMPARE(updater_test::InstalledProblem(machine, newLibrary), QString());
}

void InstallTest::aShorterDownloadLeavesExactlyItsBytes() {
    TempMachine machine;
    QVERIFY(machine.InstallMainLibrary(OldLibrary()));
    FolderServer server;
    server.Put("3.00", updater_test::MainLibraryBytes());
    UpdateRequest request(server.url().toStdString(), std::nullopt);
    QVERIFY(InstallVersion(request, "3.00"));
    QCOMPARE(QFileInfo(machine.mainLibrary()).size(), updater_test::MainLibraryBytes().size());
    QVERIFY(updater_test::FileBytes(machine.mainLibrary()) == updater_test::MainLibraryBytes());
}

void InstallTest::aBrokenDownloadNeverReplacesTheInstalledLibrary_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("500 at download") << "500"
                                     << "HTTP status 500";
    QTest::newRow("truncated body") << "truncated"
                                    << "incomplete";
    QTest::newRow("server stops mid-body") << "stall"
                                           << "time-out";
    QTest::newRow("not a library") << "garbage"
                                   << "not an add-in library";
    QTest::newRow("no entry points") << "not-addin"
                                     << "entry point is missing";
    QTest::newRow("another product's add-in") << "other-addin"
                                              << "no add-in object";
}

void InstallTest::aBrokenDownloadNeverReplacesTheInstalledLibrary() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TempMachine machine;
    const QByteArray old = OldLibrary();
    QVERIFY(machine.InstallMainLibrary(old));
    const QByteArray library = updater_test::MainLibraryBytes();
    ScriptedServer server;
    ScriptedServer::Script script;
    if (kind == "500") script = ScriptedServer::Answer(500, "Internal Server Error");
    if (kind == "truncated") script = ScriptedServer::Truncated(library.size(), library.left(4096));
    if (kind == "stall") script = ScriptedServer::StallingAfter(library.size(), library.left(4096));
    if (kind == "garbage") script = ScriptedServer::Answer(200, QByteArray(70'000, 'Z'));
    if (kind == "not-addin") {
        script = ScriptedServer::Answer(200, updater_test::FileBytes(TRAWLEX_NOT_ADDIN));
    }
    if (kind == "other-addin") {
        script = ScriptedServer::Answer(200, updater_test::FileBytes(TRAWLEX_OTHER_ADDIN));
    }
    server.Set("3.01", script);

    UpdateRequest request(server.url().toStdString(), std::nullopt, kShortTimeoutMs);
    Status installed = InstallVersion(request, "3.01");
    QVERIFY(!installed);
    QVERIFY2(QString::fromStdString(installed.error()).contains(reason), installed.error().c_str());
    QCOMPARE(updater_test::InstalledProblem(machine, old), QString());
}

void InstallTest::aReadOnlySystemDirectoryFailsCleanly() {
    TempMachine machine;
    const QByteArray old = OldLibrary();
    QVERIFY(machine.InstallMainLibrary(old));
    FolderServer server;
    server.Put("3.01", updater_test::MainLibraryBytes());
    QVERIFY(QFile::setPermissions(machine.systemDir(), QFile::ReadOwner | QFile::ExeOwner |
                                                           QFile::ReadGroup | QFile::ExeGroup));
    Status installed = Failure{""};
    {
        WithoutDacOverride readOnly;
        QVERIFY(readOnly.ok());
        UpdateRequest request(server.url().toStdString(), std::nullopt);
        installed = InstallVersion(request, "3.01");
    }
    QVERIFY(!installed);
    QVERIFY2(QString::fromStdString(installed.error()).startsWith("write failure"),
             installed.error().c_str());
    QCOMPARE(updater_test::InstalledProblem(machine, old), QString());
}

void InstallTest::aLibraryThatFailsToRegisterIsRolledBack() {
    TempMachine machine;
    const QByteArray old = OldLibrary();
    QVERIFY(machine.InstallMainLibrary(old));
    FolderServer server;
    server.Put("3.01", updater_test::FileBytes(TRAWLEX_UNREGISTRABLE));
    UpdateRequest request(server.url().toStdString(), std::nullopt);
    Status installed = InstallVersion(request, "3.01");
    QVERIFY(!installed);
    QVERIFY2(QString::fromStdString(installed.error()).contains("register trawlex.dll"),
             installed.error().c_str());
    QCOMPARE(updater_test::InstalledProblem(machine, old), QString());
}

QTEST_MAIN(InstallTest)
#include "install_qtest.moc"
