// The built trawlex.dll as a host meets it: registered by regsvr32, found through its class
// record, loaded, connected, clicked, disconnected and unloaded.

#include <dlfcn.h>

#include <QApplication>
#include <QComboBox>
#include <QtTest>
#include <filesystem>

#include "addin/product_info.h"
#include "addin/registration.h"
#include "tests/fake_host/fake_host.h"
#include "host/addin_loader.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "temp_root.h"

using namespace trawlex;
using host::fake::FakeHost;

namespace {

const std::string kVb6Record =
    "HKCU\\Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Trawlex.Connect\\";
const std::string kClassRecord = "HKCU\\Software\\Classes\\Trawlex.Connect\\InprocServer32\\";

// Started as the installer starts it: switches, then the quoted library path.
int Regsvr32(const std::string& switches) {
    Result<int> code = platform::Run(
        std::string("\"") + TRAWLEX_REGSVR32 + "\" " + switches + " \"" + TRAWLEX_DLL + "\"", 0,
        true);
    return code ? *code : -1;
}

QWidget* TopLevel(const char* objectName) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == objectName) return widget;
    }
    return nullptr;
}

}  // namespace

class LibraryTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<testing::TempRoot> root_;

  private slots:
    void init() { root_ = std::make_unique<testing::TempRoot>(); }
    void cleanup() { root_.reset(); }

    void regsvr32WritesBothRecordsAndRemovesThem() {
        QCOMPARE(Regsvr32("/S"), 0);
        QCOMPARE(testing::RegValue(kClassRecord),
                 QString::fromStdString(std::filesystem::canonical(TRAWLEX_DLL).string()));
        QCOMPARE(testing::RegValue(kVb6Record + "FriendlyName"), QString("Trawlex Plus"));
        QCOMPARE(testing::RegValue(kVb6Record + "LoadBehavior"), QString("1"));
        QCOMPARE(testing::RegValue(kVb6Record + "CommandLineSafe"), QString("0"));
        const QString description =
            QString::fromUtf8(
                "Trawlex Plus は、Visual Basic 6.0、 Office\r"
                " 2000以降のVisual Basic Editorで\r\n"
                "リッチなGrep検索をするツールです。 ファイル検索をすることもできます。\r\n"
                "直感的なインターフェースで、コーディングの作業効率を飛躍的に向上します。\r\n"
                "\r\n"
                "詳しくはサポートページ") +
            addin::kSupportPageUrl + QString::fromUtf8(" をご覧下さい。");
        QCOMPARE(testing::RegValue(kVb6Record + "Description"), description);

        QCOMPARE(Regsvr32("/U /S"), 0);
        QVERIFY(!platform::RegKeyExists("HKCU\\Software\\Classes\\Trawlex.Connect"));
        QVERIFY(!platform::RegKeyExists(kVb6Record));
        // Nothing left to remove is no failure.
        QCOMPARE(Regsvr32("/U /S"), 0);
    }

    void aLibraryThatCannotTellItsPathRegistersNothing() {
        QVERIFY(!addin::RegisterAddin(""));
        QVERIFY(!addin::RegisterAddin("build/trawlex.dll"));
        QVERIFY(!platform::RegKeyExists("HKCU\\Software\\Classes\\Trawlex.Connect"));
        QVERIFY(!platform::RegKeyExists(kVb6Record));
    }

    void theRegisteredLibraryConnectsToAHost() {
        QCOMPARE(Regsvr32("/S"), 0);
        Result<platform::LoadedAddin> loaded = platform::LoadAddin("Trawlex.Connect");
        QVERIFY2(loaded, loaded.error().c_str());

        FakeHost host;
        auto project = host.AddProject("Project1");
        auto pane = host.OpenPane(project->AddModule("modMain", "Dim stock\r\nstock = 3\r\n"));
        QVERIFY(pane->SetSelection({2, 1, 2, 6}));
        (*loaded)->OnConnection(host, host::ext_cm_Startup);
        auto bar = host.bar(host::fake::kStandardBar);
        QCOMPARE(bar->controls().size(), std::size_t{6});
        auto searchButton = bar->controls()[3];
        QCOMPARE(searchButton->caption(), std::string("Trawlex Plus"));

        QVERIFY(host.FireClick(searchButton));
        QWidget* window = TopLevel("frmAddIn");
        QVERIFY(window);
        QVERIFY(window->isVisible());
        auto* searchBox = window->findChild<QComboBox*>("txtSearchStr");
        QVERIFY(searchBox);
        QCOMPARE(searchBox->currentText(), QString("stock"));

        QVERIFY(host.FireClick(host.bar(host::fake::kHelpMenu)->controls().back()));
        QWidget* about = TopLevel("frmAbout");
        QVERIFY(about && about->isVisible());

        (*loaded)->OnDisconnection(host::ext_dm_HostShutdown);
        QCOMPARE(bar->controls().size(), std::size_t{4});
        QVERIFY(!window->isVisible());
        // The version dialog is left as it is.
        QVERIFY(about->isVisible());

        // The windows go before the library is unloaded.
        loaded->reset();
        QVERIFY(!TopLevel("frmAddIn"));
        QVERIFY(!TopLevel("frmAbout"));
    }

    void theLibraryMakesOnlyItsOwnAddin() {
        void* library = dlopen(TRAWLEX_DLL, RTLD_NOW | RTLD_LOCAL);
        QVERIFY(library);
        using Create = host::AddinInstance* (*)(const char*);
        auto create = reinterpret_cast<Create>(dlsym(library, "TrawlexCreateAddin"));
        QVERIFY(create);
        QVERIFY(!create("Trawlex.Update"));
        QVERIFY(!create("Trawlex6.Connect"));
        QVERIFY(!create(""));
        for (const char* progId : {"Trawlex.Connect", "trawlex.connect"}) {
            std::unique_ptr<host::AddinInstance> addin(create(progId));
            QVERIFY(addin);
        }
        // Nothing but the entry points leaves the library.
        QVERIFY(!dlsym(library, "_ZN7trawlex5addin15DisplayVersionEv"));
        dlclose(library);
    }
};

QTEST_MAIN(LibraryTest)
#include "library_test.moc"
