// The folder offered for folder searches, across connections of one library lifetime: the
// slots run in order and share the library's state, as connections of a loaded add-in do.

#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "addin/connect.h"
#include "addin/shared_state.h"
#include "temp_root.h"
#include "tests/fake_host/fake_host.h"
#include "window/frm_add_in.h"

using namespace trawlex;
using addin::Connect;
using host::fake::FakeHost;
using host::fake::HostFlavour;

class CurrentFolderTest : public QObject {
    Q_OBJECT
  private:
    testing::TempRoot root_;

    static std::string FolderAfterConnecting(FakeHost& host, Connect& connect) {
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        return addin::CurrentFolder();
    }

  private slots:
    void officeEditorStartsInTheDocumentsFolder() {
        QVERIFY(addin::CurrentFolder().empty());
        FakeHost host(HostFlavour::OfficeEditor);
        Connect connect;
        QCOMPARE(FolderAfterConnecting(host, connect), root_.documents().toStdString() + "/");
    }

    void officeEditorKeepsTheFolderTheSearchWindowLastUsed() {
        FakeHost host(HostFlavour::OfficeEditor);
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        // The folder picker sets both the folder and the box.
        addin::SearchWindow().SetCurrentFolder("/srv/vb/inventory/");
        addin::SearchWindow().txtFilepath->setText("/srv/vb/inventory/");
        connect.OnDisconnection(host::ext_dm_UserClosed);

        QCOMPARE(FolderAfterConnecting(host, connect), std::string("/srv/vb/inventory/"));
        QCOMPARE(addin::SearchWindow().txtFilepath->text(), QString("/srv/vb/inventory/"));
    }

    void theFolderOutlivesTheWindows() {
        // The previous slot's add-in object is gone, and the windows with it.
        QVERIFY(!addin::ExistingSearchWindow());
        FakeHost host(HostFlavour::OfficeEditor);
        Connect connect;
        QCOMPARE(FolderAfterConnecting(host, connect), std::string("/srv/vb/inventory/"));
        QCOMPARE(addin::SearchWindow().txtFilepath->text(), QString("/srv/vb/inventory/"));
    }

    void visualBasicUsesItsLastUsedPathWithOneTrailingSeparator() {
        FakeHost host(HostFlavour::VisualBasic6);
        Connect connect;
        host.SetLastUsedPath("/home/dev/projects/sales");
        QCOMPARE(FolderAfterConnecting(host, connect), std::string("/home/dev/projects/sales/"));
        connect.OnDisconnection(host::ext_dm_UserClosed);

        host.SetLastUsedPath("/home/dev/projects/");
        QCOMPARE(FolderAfterConnecting(host, connect), std::string("/home/dev/projects/"));
        QCOMPARE(addin::SearchWindow().txtFilepath->text(), QString("/home/dev/projects/"));
    }

    void anEmptyLastUsedPathFallsBackToTheDocumentsFolder() {
        FakeHost host(HostFlavour::VisualBasic6);
        Connect connect;
        host.SetLastUsedPath("");
        QCOMPARE(FolderAfterConnecting(host, connect), root_.documents().toStdString() + "/");
    }

    void externalConnectionLeavesTheFolderAlone() {
        FakeHost host(HostFlavour::VisualBasic6);
        Connect connect;
        host.SetLastUsedPath("/elsewhere");
        connect.OnConnection(host, host::ext_cm_External);
        QCOMPARE(addin::CurrentFolder(), root_.documents().toStdString() + "/");
    }
};

QTEST_MAIN(CurrentFolderTest)
#include "current_folder_test.moc"
