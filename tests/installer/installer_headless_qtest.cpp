// install --install | --uninstall | --check, run as the built program from the staging folder
// of a fresh machine root, as scripts and CI run it.

#include <QDir>
#include <QProcess>
#include <QtTest>
#include <memory>

#include "installer_test_machine.h"
#include "platform/registry.h"
#include "platform/settings.h"

using namespace trawlex;
using installer_test::TestMachine;

namespace {

const std::string kVbeAddins = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\";

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run RunProgram(const QString& program, const QStringList& args, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList ValueNames(const std::string& key) {
    QStringList names;
    for (const std::string& name : platform::RegValueNames(key).value_or({})) {
        names << QString::fromStdString(name);
    }
    return names;
}

}  // namespace

class InstallerHeadlessTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TestMachine> machine_;

    Run Install(const QStringList& args) {
        return RunProgram(TRAWLEX_INSTALL, args, machine_->staging());
    }

  private slots:
    void init() { machine_ = std::make_unique<TestMachine>(); }
    void cleanup() { machine_.reset(); }

    void installThenUninstallTwice() {
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "gedit %p").ok());
        Run installed = Install({"--install"});
        QVERIFY2(installed.exitCode == 0, qPrintable(installed.err));
        QVERIFY(installed.out.endsWith("インストール完了\n"));
        QCOMPARE(installer_test::ReadAll(machine_->systemFile("trawlex.dll")),
                 installer_test::ReadAll(TRAWLEX_TEST_ADDIN));
        QCOMPARE(installer_test::ReadAll(machine_->systemFile("trawlexup.dll")),
                 installer_test::ReadAll(TRAWLEX_TEST_UPDATER));
        for (const char* progId : {"Trawlex.Connect", "Trawlex.Update"}) {
            QCOMPARE(ValueNames(kVbeAddins + progId + "\\"),
                     QStringList({"FriendlyName", "CommandLineSafe", "LoadBehavior"}));
        }
        QVERIFY(!platform::RegKeyExists(platform::SettingsSectionKey("quillfen", "Trawlex")));

        for (int time = 0; time < 2; ++time) {
            Run removed = Install({"--uninstall"});
            QVERIFY2(removed.exitCode == 0, qPrintable(removed.err));
            QCOMPARE(removed.out, QString("Trawlexをアンインストールしました\n"));
            QCOMPARE(removed.err, QString());
        }
        QVERIFY(!QFile::exists(machine_->systemFile("trawlex.dll")));
        QVERIFY(!platform::RegKeyExists(kVbeAddins + "Trawlex.Connect\\"));
        QVERIFY(!platform::RegKeyExists(kVbeAddins + "Trawlex.Update\\"));
    }

    void failedRegistrationFailsTheInstallation() {
        qputenv("TRAWLEX_TEST_ADDIN_FAIL", "1");
        Run installed = Install({"--install"});
        QCOMPARE(installed.exitCode, 1);
        QVERIFY2(installed.err.contains("install: failed: register trawlex.dll: regsvr32 /S"),
                 qPrintable(installed.err));
        QVERIFY(installed.err.contains("install: failed: register trawlexup.dll: "));
        QVERIFY(installed.err.contains("インストールは失敗しました\nエラー:"));
        QVERIFY(!installed.out.contains("インストール完了"));

        Run removed = Install({"--uninstall"});
        QCOMPARE(removed.exitCode, 1);
        QVERIFY(removed.err.contains("install: failed: unregister trawlex.dll: "));
        QVERIFY(removed.err.contains("Trawlexのアンインストールに失敗しました"));
    }

    void installWithoutBothLibrariesChangesNothing() {
        QVERIFY(QFile::remove(machine_->staging() + "/trawlexup.dll"));
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "kept").ok());
        Run installed = Install({"--install"});
        QCOMPARE(installed.exitCode, 1);
        QVERIFY(installed.out.contains("Trawlex Plus Updater - trawlexup.dll [NG]"));
        QVERIFY(installed.err.contains("nothing was changed"));
        QCOMPARE(platform::GetSetting("quillfen", "Trawlex", "BootEditor"), std::string("kept"));
        QVERIFY(!QFile::exists(machine_->systemFile("trawlex.dll")));
    }

    void checkPrintsTheRows() {
        Run checked = Install({"--check"});
        QCOMPARE(checked.exitCode, 0);
        QCOMPARE(checked.out, QString("Visual Basic 6.0 [NG]\n"
                                      "Microsoft Office - Visual Basic for Applications 6.0 [NG]\n"
                                      "Trawlex Plus - trawlex.dll [OK]\n"
                                      "Trawlex Plus Updater - trawlexup.dll [OK]\n"));
        QVERIFY(QFile::remove(machine_->staging() + "/trawlex.dll"));
        checked = Install({"--check"});
        QCOMPARE(checked.exitCode, 1);
        QVERIFY(checked.out.endsWith("Trawlex Plus - trawlex.dll [NG]\n"));
    }

#ifdef TRAWLEX_VBIDE
    void theEditorsSetUpStepPassesBothHostChecks() {
        Run setUp = RunProgram(TRAWLEX_VBIDE, {"--setup"}, machine_->root());
        QVERIFY2(setUp.exitCode == 0, qPrintable(setUp.err));
        // Twice is no different from once.
        QCOMPARE(RunProgram(TRAWLEX_VBIDE, {"--setup"}, machine_->root()).exitCode, 0);
        Run checked = Install({"--check"});
        QVERIFY(
            checked.out.startsWith("Visual Basic 6.0 [OK]\n"
                                   "Microsoft Office - Visual Basic for Applications 6.0 [OK]\n"));
    }
#endif

    void usageErrors() {
        for (const QStringList& args :
             {QStringList{"--bogus"}, QStringList{"--install", "--uninstall"}, QStringList{"x"}}) {
            Run run = Install(args);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.err.startsWith("usage: install"));
        }
        Run help = Install({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith("usage: install"));
    }
};

QTEST_MAIN(InstallerHeadlessTest)
#include "installer_headless_qtest.moc"
