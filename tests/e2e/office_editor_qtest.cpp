// The Office editor flavour (--vbe) with the real add-in library, installed the way users
// install it: the installer run headless from a folder holding both libraries, which copies
// them to the system directory, runs regsvr32 and writes the editor's records.

#include <QDir>
#include <QProcess>
#include <QStatusBar>
#include <QTreeView>
#include <QtTest>

#include "e2e_support.h"
#include "platform/registry.h"
#include "vbide/addin_manager.h"
#include "vbide/addin_records.h"
#include "vbide/ide_code_pane.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

const std::string kVbeKey = "HKCU\\Software\\Microsoft\\VBA\\VBE\\6.0\\Addins\\Trawlex.Connect\\";

QString Value(const std::string& path) {
    Result<std::string> value = platform::RegRead(path);
    return value ? QString::fromStdString(*value)
                 : "<failed: " + QString::fromStdString(value.error()) + ">";
}

QStringList ValueNames(const std::string& key) {
    QStringList names;
    for (const std::string& name : platform::RegValueNames(key).value_or({}))
        names << QString::fromStdString(name);
    names.sort();
    return names;
}

// install --install from `folder`; its exit code, with stdout and stderr in `output`.
int RunInstaller(const QString& folder, QString* output) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(TRAWLEX_INSTALL, {"--install"});
    // Generous: under the sanitizers regsvr32 loads each library for a good while.
    const bool finished = process.waitForFinished(300000);
    *output = QString::fromUtf8(process.readAll());
    if (!finished || process.exitStatus() != QProcess::NormalExit) {
        *output += "\n(install did not finish: " + process.errorString() + ")";
        return -1;
    }
    return process.exitCode();
}

// Stages both libraries and installs them, with the built regsvr32 in the system directory.
bool InstallBothLibraries(const QString& root, QString* output) {
    const QString staging = root + "/staging";
    QDir().mkpath(staging);
    QDir().mkpath(root + "/system32");
    QFile::link(TRAWLEX_REGSVR32, root + "/system32/regsvr32");
    QFile::remove(staging + "/trawlex.dll");
    QFile::remove(staging + "/trawlexup.dll");
    return QFile::copy(TRAWLEX_DLL, staging + "/trawlex.dll") &&
           QFile::copy(TRAWLEX_UPDATER_DLL, staging + "/trawlexup.dll") &&
           RunInstaller(staging, output) == 0;
}

}  // namespace

class OfficeEditorTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { machine_ = std::make_unique<e2e::ScopedMachine>(); }
    void cleanup() { machine_.reset(); }

    void installationWritesBothRecords() {
        QString output;
        QVERIFY2(InstallBothLibraries(machine_->path(), &output), qPrintable(output));
        const QString installed = machine_->path() + "/system32/trawlex.dll";
        QVERIFY(QFile::exists(installed));

        QCOMPARE(ValueNames(kVbeKey),
                 QStringList({"CommandLineSafe", "FriendlyName", "LoadBehavior"}));
        QCOMPARE(Value(kVbeKey + "FriendlyName"), QString("Trawlex Plus"));
        QCOMPARE(Value(kVbeKey + "CommandLineSafe"), QString("0"));
        QCOMPARE(Value(kVbeKey + "LoadBehavior"), QString("3"));
        QCOMPARE(
            QString::fromStdString(platform::ClassLibraryPath(e2e::kProgId).value_or("<none>")),
            QFileInfo(installed).canonicalFilePath());
        const AddinRecord vb6 = ReadAddinRecord(Flavour::VisualBasic6, e2e::kProgId).value();
        QCOMPARE(QString::fromStdString(vb6.friendlyName), QString("Trawlex Plus"));
        QVERIFY(vb6.LoadAtStartup());

        // Installing again leaves one record with the same three values, even when the
        // earlier record had others.
        QVERIFY(platform::RegWrite(kVbeKey + "LoadBehavior", "0", "REG_DWORD").ok());
        QVERIFY(platform::RegWrite(kVbeKey + "Stale", "x").ok());
        QVERIFY2(InstallBothLibraries(machine_->path(), &output), qPrintable(output));
        QCOMPARE(ValueNames(kVbeKey),
                 QStringList({"CommandLineSafe", "FriendlyName", "LoadBehavior"}));
        QCOMPARE(Value(kVbeKey + "LoadBehavior"), QString("3"));
    }

    void missingLibrariesAreReportedNotInstalled() {
        QString output;
        QVERIFY(QDir().mkpath(machine_->path() + "/empty"));
        QCOMPARE(RunInstaller(machine_->path() + "/empty", &output), 1);
        QVERIFY2(output.contains("Trawlex Plus - trawlex.dll [NG]"), qPrintable(output));
        QVERIFY(!platform::RegKeyExists(kVbeKey));
    }

    void officeEditorLoadsThroughItsOwnRecord() {
        QString output;
        QVERIFY2(InstallBothLibraries(machine_->path(), &output), qPrintable(output));
        // Only the Office editor's record asks for loading: the VB6 one is switched off.
        QVERIFY(SetLoadAtStartup(Flavour::VisualBasic6, e2e::kProgId, false).ok());
        {
            IdeWindow vb6(Flavour::VisualBasic6);
            vb6.ConnectStartupAddins();
            QVERIFY(!vb6.Host().Manager().IsConnected(e2e::kProgId));
        }

        IdeWindow ide(Flavour::OfficeEditor);
        QVERIFY(ide.OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp").ok());
        ide.show();
        ide.ConnectStartupAddins();
        QVERIFY(ide.Host().Manager().IsConnected(e2e::kProgId));
        const QStringList bar = e2e::BarCaptions(ide, "標準");
        QCOMPARE(bar.count(e2e::kSearchCaption), 1);
        QCOMPARE(bar.count(e2e::kOptionsCaption), 1);
        QCOMPARE(e2e::BarCaptions(ide, "Help").count("&Trawlex Plusの ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ"), 1);

        // A selection search works the same in this flavour.
        auto pane = e2e::ShowModule(ide, "clsItem");
        QVERIFY(pane);
        const int line = e2e::LineContaining(*pane, "Public Property Get");
        QVERIFY(line > 0);
        QVERIFY(e2e::SelectInLine(*pane, line, "Property"));
        e2e::BarAction(ide, "標準", e2e::kSearchCaption)->trigger();
        QVERIFY(e2e::WaitForSearchEnd());
        QWidget* window = e2e::SearchWindow();
        QVERIFY(window && window->isVisible());
        QTreeView* view = e2e::ResultView(window, e2e::CheckedTab(window));
        QVERIFY(view && view->model()->rowCount() > 0);
        const int selected = e2e::SelectedRow(view);
        QVERIFY(selected >= 0);
        QCOMPARE(e2e::Cell(view, selected, 0), QString("clsItem"));
        QCOMPARE(e2e::Cell(view, selected, 1), QString::number(line));

        QVERIFY(ide.close());
        QVERIFY(!ide.Host().Manager().IsConnected(e2e::kProgId));
        QVERIFY(e2e::BarAction(ide, "標準", e2e::kSearchCaption) == nullptr);
    }

  private:
    std::unique_ptr<e2e::ScopedMachine> machine_;
};

QTEST_MAIN(OfficeEditorTest)
#include "office_editor_qtest.moc"
