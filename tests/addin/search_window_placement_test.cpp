// Where the search command shows the search window: a tool window of the editor's main
// window, whole on the screen, first near the editor, then where the user left it, also
// after the add-in was unloaded and loaded again.

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "addin/connect.h"
#include "addin/shared_state.h"
#include "temp_root.h"
#include "tests/fake_host/fake_host.h"
#include "window/frm_add_in.h"

using namespace trawlex;
using host::fake::FakeHost;

namespace {

std::shared_ptr<host::fake::FakeControl> SearchButton(const FakeHost& host) {
    for (const auto& control : host.bar(host::fake::kStandardBar)->controls()) {
        if (control->caption() == "Trawlex Plus") return control;
    }
    return nullptr;
}

QRect Available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

}  // namespace

class SearchWindowPlacementTest : public QObject {
    Q_OBJECT
    testing::TempRoot root_;

  private slots:
    void opensWholeOnScreenOverTheEditorAndStaysWhereItWasLeft() {
        // The editor sits in the bottom-left corner, partly below the screen's edge.
        QMainWindow editor;
        editor.resize(400, 300);
        editor.move(Available().left(), Available().bottom() - 150);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));

        FakeHost host;
        auto connect = std::make_unique<addin::Connect>();
        connect->OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(host.FireClick(SearchButton(host)));
        QPointer<window::frmAddIn> window = addin::ExistingSearchWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->parentWidget(), &editor);
        QVERIFY(window->windowFlags().testFlag(Qt::Tool));
        QVERIFY2(Available().contains(window->frameGeometry()),
                 qPrintable(QString("%1,%2 %3x%4")
                                .arg(window->frameGeometry().x())
                                .arg(window->frameGeometry().y())
                                .arg(window->frameGeometry().width())
                                .arg(window->frameGeometry().height())));
        QVERIFY(window->frameGeometry().intersects(editor.frameGeometry()));

        // Moved by the user and closed: it comes back where it was left.
        const QPoint left = Available().topLeft() + QPoint(30, 20);
        window->move(left);
        window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(host.FireClick(SearchButton(host)));
        QCOMPARE(window->pos(), left);

        // Unloaded with the last add-in object and loaded again: a new window, same place.
        connect->OnDisconnection(host::ext_dm_UserClosed);
        connect.reset();
        QTRY_VERIFY(!window);
        connect = std::make_unique<addin::Connect>();
        connect->OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(host.FireClick(SearchButton(host)));
        QVERIFY(addin::ExistingSearchWindow());
        QCOMPARE(addin::ExistingSearchWindow()->pos(), left);
        connect.reset();
    }
};

QTEST_MAIN(SearchWindowPlacementTest)
#include "search_window_placement_test.moc"
