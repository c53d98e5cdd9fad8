// The add-in object on the fake host: the five commands with their captions, faces and
// places, external connections, clicks, disconnection, and host calls that fail.

#include "addin/connect.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <utility>

#include "addin/command_faces.h"
#include "addin/connected_host.h"
#include "addin/frm_about.h"
#include "addin/shared_state.h"
#include "platform/settings.h"
#include "temp_root.h"
#include "tests/fake_host/fake_host.h"
#include "window/frm_add_in.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using namespace trawlex;
using addin::Connect;
using host::fake::FakeHost;

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QStringList Captions(const FakeHost& host, const char* bar) {
    QStringList captions;
    for (const std::string& caption : host.bar(bar)->captions()) captions << Q(caption);
    return captions;
}

// The control of a bar with that caption, or nullptr.
std::shared_ptr<host::fake::FakeControl> Find(const FakeHost& host, const char* bar,
                                              const std::string& caption) {
    for (const auto& control : host.bar(bar)->controls()) {
        if (control->caption() == caption) return control;
    }
    return nullptr;
}

// Fires a control's click and lets the search it may have started run to its end.
bool FireAndWait(FakeHost& host, const std::shared_ptr<host::fake::FakeControl>& control) {
    const bool fired = host.FireClick(control);
    if (window::frmAddIn* window = addin::ExistingSearchWindow()) window::WaitForSearch(*window);
    return fired;
}

const std::string kSearchCaption = "Trawlex Plus";
const std::string kOptionsCaption = "Trawlex Plusの ｵﾌﾟｼｮﾝ";
const std::string kMenuSearchCaption = "&Trawlex Plus";
const std::string kMenuOptionsCaption = "&Trawlex Plusの ｵﾌﾟｼｮﾝ";
const std::string kVersionCaption = "&Trawlex Plusの ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ";

// A host whose standard tool bar carries another name: asking for "標準" fails until a bar
// of that name is added, which then lives in the fake host as kAddedBar.
class RenamedStandardBarHost : public addin::ConnectedHost {
  public:
    static constexpr const char* kAddedBar = "標準 (added)";

    explicit RenamedStandardBarHost(FakeHost& fake) : fake_(fake) { SetTarget(&fake); }

    Result<std::shared_ptr<host::CommandBars>> CommandBars() override {
        auto bars = fake_.CommandBars();
        if (!bars) return bars;
        return std::shared_ptr<host::CommandBars>(std::make_shared<Bars>(*bars));
    }

  private:
    class Bars : public host::CommandBars {
      public:
        explicit Bars(std::shared_ptr<host::CommandBars> bars) : bars_(std::move(bars)) {}
        Result<std::shared_ptr<host::CommandBar>> Item(std::string_view name) override {
            if (name != host::fake::kStandardBar) return bars_->Item(name);
            auto added = bars_->Item(kAddedBar);
            if (!added) return Failure{"no command bar of that name"};
            return added;
        }
        Result<std::shared_ptr<host::CommandBar>> Add(std::string_view name) override {
            return bars_->Add(name == host::fake::kStandardBar ? kAddedBar : name);
        }

      private:
        std::shared_ptr<host::CommandBars> bars_;
    };
    FakeHost& fake_;
};

}  // namespace

class ConnectTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<testing::TempRoot> root_;

    // A host with one module open whose line 2 has `word` selected.
    static void SelectWordInPane(FakeHost& host, const std::string& word) {
        auto project = host.AddProject("Project1");
        auto pane = host.OpenPane(
            project->AddModule("modMain", "Option Explicit\r\nx = " + word + " + 1\r\n"));
        const int start = 5;
        QVERIFY(pane->SetSelection({2, start, 2, start + static_cast<int>(word.size())}));
    }

  private slots:
    void init() { root_ = std::make_unique<testing::TempRoot>(); }
    void cleanup() { root_.reset(); }

    void connectionPutsTheFiveCommandsInPlace() {
        FakeHost host;
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);

        // Both buttons stand before the bar's last control, in the order they were added.
        QCOMPARE(Captions(host, host::fake::kStandardBar),
                 (QStringList{"Open Project", "Save Project", "Start", Q(kSearchCaption),
                              Q(kOptionsCaption), "Object Browser"}));
        QCOMPARE(Captions(host, host::fake::kAddInsMenu),
                 (QStringList{"&Add-In Manager...", Q(kMenuSearchCaption)}));
        QCOMPARE(Captions(host, host::fake::kToolsMenu),
                 (QStringList{"&Add Procedure...", "&Options...", Q(kMenuOptionsCaption)}));
        QCOMPARE(Captions(host, host::fake::kHelpMenu),
                 (QStringList{"&Contents", "&About Microsoft Visual Basic", Q(kVersionCaption)}));
        QCOMPARE(host.barNames().size(), std::size_t{4});

        const host::Bitmap product = addin::CommandFace(addin::kProductFace);
        const host::Bitmap options = addin::CommandFace(addin::kOptionsFace);
        QVERIFY(Find(host, host::fake::kStandardBar, kSearchCaption)->face() == product);
        QVERIFY(Find(host, host::fake::kStandardBar, kOptionsCaption)->face() == options);
        QVERIFY(Find(host, host::fake::kAddInsMenu, kMenuSearchCaption)->face() == product);
        QVERIFY(Find(host, host::fake::kToolsMenu, kMenuOptionsCaption)->face() == options);
        QVERIFY(Find(host, host::fake::kHelpMenu, kVersionCaption)->face() == product);
        // The last face pasted stays on the clipboard.
        QVERIFY(host.clipboardPicture() == product);
    }

    void editorTemplateComesFromTheSettingsInEveryMode() {
        FakeHost host;
        {
            Connect connect;
            connect.OnConnection(host, host::ext_cm_Startup);
            QCOMPARE(addin::EditorTemplate(), std::string("notepad \"%p\""));
        }
        QVERIFY(platform::SaveSetting("quillfen", "Trawlex", "BootEditor", "hidemaru /j%l \"%p\""));
        Connect connect;
        connect.OnConnection(host, host::ext_cm_External);
        QCOMPARE(addin::EditorTemplate(), std::string("hidemaru /j%l \"%p\""));
    }

    void externalConnectionAddsNoCommands() {
        FakeHost host;
        Connect connect;
        connect.OnConnection(host, host::ext_cm_External);
        QCOMPARE(Captions(host, host::fake::kStandardBar).size(), 4);
        QCOMPARE(Captions(host, host::fake::kHelpMenu).size(), 2);
        QVERIFY(!host.clipboardPicture());

        connect.OnDisconnection(host::ext_dm_UserClosed);
        QVERIFY(host.bar(host::fake::kStandardBar)->deletedControls().empty());
        QVERIFY(!addin::ExistingSearchWindow());
    }

    void aHostWithoutTheStandardBarGetsANewOne() {
        FakeHost fake;
        RenamedStandardBarHost host(fake);
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);

        // On the empty new bar the first button is the last control, so the second one goes
        // in front of it.
        QCOMPARE(Captions(fake, RenamedStandardBarHost::kAddedBar),
                 (QStringList{Q(kOptionsCaption), Q(kSearchCaption)}));
        QCOMPARE(Captions(fake, host::fake::kStandardBar).size(), 4);
        QCOMPARE(Captions(fake, host::fake::kHelpMenu).last(), Q(kVersionCaption));
    }

    void eachClickRunsItsCommandOnce() {
        FakeHost host;
        SelectWordInPane(host, "total");
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);

        QVERIFY(FireAndWait(host, Find(host, host::fake::kStandardBar, kSearchCaption)));
        window::frmAddIn* window = addin::ExistingSearchWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->txtSearchStr->currentText(), QString("total"));
        // One run: the first tab holds the hit. A second run would have moved on a tab.
        QCOMPARE(window->CurrentTab(), 0);
        QCOMPARE(window->List(0).RowCount(), 1);
        QCOMPARE(window->List(0).Row(0).line, std::int64_t{2});

        // The menu item runs the same command in the same window, on the next tab.
        QVERIFY(FireAndWait(host, Find(host, host::fake::kAddInsMenu, kMenuSearchCaption)));
        QCOMPARE(addin::ExistingSearchWindow(), window);
        QCOMPARE(window->CurrentTab(), 1);
        QCOMPARE(window->List(1).RowCount(), 1);

        QVERIFY(!addin::ExistingAboutWindow() || !addin::ExistingAboutWindow()->isVisible());
        QVERIFY(host.FireClick(Find(host, host::fake::kHelpMenu, kVersionCaption)));
        QVERIFY(addin::ExistingAboutWindow());
        QVERIFY(addin::ExistingAboutWindow()->isVisible());
        QCOMPARE(window->CurrentTab(), 1);
    }

    void disconnectionRemovesTheCommandsAndHidesTheSearchWindow() {
        FakeHost host;
        SelectWordInPane(host, "total");
        Connect connect;
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        auto searchButton = Find(host, host::fake::kStandardBar, kSearchCaption);
        auto optionsButton = Find(host, host::fake::kStandardBar, kOptionsCaption);
        QVERIFY(FireAndWait(host, searchButton));
        window::frmAddIn* window = addin::ExistingSearchWindow();
        QVERIFY(window && window->isVisible());

        connect.OnDisconnection(host::ext_dm_UserClosed);
        QCOMPARE(Captions(host, host::fake::kStandardBar),
                 (QStringList{"Open Project", "Save Project", "Start", "Object Browser"}));
        QCOMPARE(Captions(host, host::fake::kAddInsMenu).size(), 1);
        QCOMPARE(Captions(host, host::fake::kToolsMenu).size(), 2);
        QCOMPARE(Captions(host, host::fake::kHelpMenu).size(), 2);
        const auto& deleted = host.bar(host::fake::kStandardBar)->deletedControls();
        QCOMPARE(deleted.size(), std::size_t{2});
        QVERIFY(deleted[0] == searchButton);
        QVERIFY(deleted[1] == optionsButton);
        QVERIFY(!host.FireClick(searchButton));

        // Hidden, not destroyed: its rows are still there.
        QCOMPARE(addin::ExistingSearchWindow(), window);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->List(0).RowCount(), 1);

        // A second disconnection finds nothing left to do.
        connect.OnDisconnection(host::ext_dm_HostShutdown);
        QCOMPARE(deleted.size(), std::size_t{2});
    }

    void theWindowsGoWithTheLastAddinObject() {
        FakeHost host;
        auto first = std::make_unique<Connect>();
        auto second = std::make_unique<Connect>();
        first->OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(host.FireClick(Find(host, host::fake::kHelpMenu, kVersionCaption)));
        QVERIFY(FireAndWait(host, Find(host, host::fake::kAddInsMenu, kMenuSearchCaption)));
        first->OnDisconnection(host::ext_dm_UserClosed);
        first.reset();
        QVERIFY(addin::ExistingSearchWindow());
        QVERIFY(addin::ExistingAboutWindow());
        second.reset();
        QVERIFY(!addin::ExistingSearchWindow());
        QVERIFY(!addin::ExistingAboutWindow());
    }

    void theLastAddinObjectGoingDuringASearchStopsItAndDeletesTheWindow() {
        FakeHost host;
        SelectWordInPane(host, "total");
        auto connect = std::make_unique<Connect>();
        connect->OnConnection(host, host::ext_cm_AfterStartup);
        QVERIFY(FireAndWait(host, Find(host, host::fake::kStandardBar, kSearchCaption)));
        QPointer<window::frmAddIn> window = addin::ExistingSearchWindow();
        QVERIFY(window);

        // The add-in goes between two slices of the run, as a click on the editor's menu would.
        int rowsWhenGone = -1;
        bool posted = false;
        window->SetYieldIntervalMs(0);
        window->SetOnYield([&] {
            if (std::exchange(posted, true)) return;
            QTimer::singleShot(0, [&] {
                rowsWhenGone = window->CurrentList().RowCount();
                connect->OnDisconnection(host::ext_dm_UserClosed);
                connect.reset();
            });
        });
        window->cmdSearchStart_Click();
        QVERIFY(window->IsSearching());
        QTRY_VERIFY(!connect);
        QVERIFY(rowsWhenGone >= 0);
        QVERIFY(!addin::ExistingSearchWindow());
        QVERIFY(!window);
        QVERIFY(!QApplication::overrideCursor());
    }

    void anOlderAddinObjectGoingLaterLeavesTheNewerConnectionsHost() {
        FakeHost host;
        SelectWordInPane(host, "total");
        auto older = std::make_unique<Connect>();
        older->OnConnection(host, host::ext_cm_AfterStartup);
        older->OnDisconnection(host::ext_dm_UserClosed);
        Connect newer;
        newer.OnConnection(host, host::ext_cm_AfterStartup);
        older.reset();
        QVERIFY(FireAndWait(host, Find(host, host::fake::kStandardBar, kSearchCaption)));
        QCOMPARE(addin::ExistingSearchWindow()->List(0).RowCount(), 1);
    }

    void aReconnectedWindowSearchesTheNewHost() {
        Connect connect;
        {
            FakeHost first;
            SelectWordInPane(first, "alpha");
            connect.OnConnection(first, host::ext_cm_AfterStartup);
            QVERIFY(FireAndWait(first, Find(first, host::fake::kStandardBar, kSearchCaption)));
            connect.OnDisconnection(host::ext_dm_HostShutdown);
        }
        FakeHost second;
        SelectWordInPane(second, "beta");
        connect.OnConnection(second, host::ext_cm_AfterStartup);
        QVERIFY(FireAndWait(second, Find(second, host::fake::kStandardBar, kSearchCaption)));
        window::frmAddIn* window = addin::ExistingSearchWindow();
        QCOMPARE(window->txtSearchStr->currentText(), QString("beta"));
        QCOMPARE(window->CurrentList().RowCount(), 1);
        QCOMPARE(window->CurrentList().Row(0).content, std::string("x = beta + 1"));
    }

    void connectingTwiceLeavesOneSetOfCommands() {
        FakeHost host;
        Connect connect;
        connect.OnConnection(host, host::ext_cm_Startup);
        connect.OnConnection(host, host::ext_cm_AfterStartup);
        QCOMPARE(Captions(host, host::fake::kStandardBar).count(Q(kSearchCaption)), 1);
        QCOMPARE(Captions(host, host::fake::kHelpMenu).count(Q(kVersionCaption)), 1);
    }

    void aFailingHostCallLeavesOnlyItsOwnEffectOut() {
        {
            FakeHost host;
            host.FailMember("CommandBarControl.PasteFace", "no face today");
            Connect connect;
            connect.OnConnection(host, host::ext_cm_AfterStartup);
            auto button = Find(host, host::fake::kStandardBar, kSearchCaption);
            QVERIFY(button);
            QVERIFY(!button->face());
            QVERIFY(Find(host, host::fake::kHelpMenu, kVersionCaption));
        }
        {
            FakeHost host;
            host.FailMember("HostApp.Events", "no events");
            Connect connect;
            connect.OnConnection(host, host::ext_cm_AfterStartup);
            auto button = Find(host, host::fake::kStandardBar, kSearchCaption);
            QVERIFY(button);
            QVERIFY(button->face() == addin::CommandFace(addin::kProductFace));
            QVERIFY(host.FireClick(button));
            QVERIFY(!addin::ExistingSearchWindow());
        }
        {
            FakeHost host;
            host.FailMember("CommandBarControl.Delete", "busy");
            Connect connect;
            connect.OnConnection(host, host::ext_cm_AfterStartup);
            connect.OnDisconnection(host::ext_dm_UserClosed);
            QCOMPARE(Captions(host, host::fake::kStandardBar).size(), 6);
        }
    }
};

QTEST_MAIN(ConnectTest)
#include "connect_test.moc"
