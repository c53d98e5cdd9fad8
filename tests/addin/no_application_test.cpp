// A host program without a Qt application object (a command-line host, or a test harness)
// still connects the add-in; the commands then open no windows instead of aborting it.

#include <QtTest>

#include "addin/connect.h"
#include "addin/shared_state.h"
#include "tests/fake_host/fake_host.h"
#include "temp_root.h"

using namespace trawlex;
using host::fake::FakeHost;

class NoApplicationTest : public QObject {
    Q_OBJECT
  private slots:
    void clicksOpenNoWindowsWithoutAnApplication() {
        testing::TempRoot root;
        FakeHost host;
        host.OpenPane(host.AddProject("Project1")->AddModule("modMain", "x = 1\r\n"));
        addin::Connect connect;
        connect.OnConnection(host, host::ext_cm_Startup);
        auto bar = host.bar(host::fake::kStandardBar);
        QCOMPARE(bar->controls().size(), std::size_t{6});
        QVERIFY(host.FireClick(bar->controls()[3]));
        QVERIFY(host.FireClick(host.bar(host::fake::kHelpMenu)->controls().back()));
        QVERIFY(!addin::ExistingSearchWindow());
        QVERIFY(!addin::ExistingAboutWindow());
        connect.OnDisconnection(host::ext_dm_HostShutdown);
        QCOMPARE(bar->controls().size(), std::size_t{4});
    }
};

QTEST_APPLESS_MAIN(NoApplicationTest)
#include "no_application_test.moc"
