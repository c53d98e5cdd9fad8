// The Visual Basic 6.0 flavour of the editor with the real add-in library: loading from the
// record self-registration writes, the five commands, a search from a code selection, the
// jump back into the code, and the three ways the add-in is disconnected.

#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <utility>

#include "e2e_support.h"
#include "host/host_app.h"
#include "platform/registry.h"
#include "vbide/addin_manager.h"
#include "vbide/addin_manager_dialog.h"
#include "vbide/ide_code_pane.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"
#include "vbide/ide_workspace.h"
#include "window/frm_add_in.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

const QString kAddinsItem = "&Trawlex Plus";
const QString kToolsItem = "&Trawlex Plusの ｵﾌﾟｼｮﾝ";
const QString kHelpItem = "&Trawlex Plusの ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ";

// The editor as `vbide samples/Sample.vbp` starts it.
std::unique_ptr<IdeWindow> StartEditor() {
    auto ide = std::make_unique<IdeWindow>(Flavour::VisualBasic6);
    if (!ide->OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp")) return nullptr;
    ide->show();
    ide->ConnectStartupAddins();
    return ide;
}

int AddinCommandCount(IdeWindow& ide) {
    int count = 0;
    for (const char* bar : {"標準", "Add-Ins", "Tools", "Help"}) {
        for (const QString& caption : e2e::BarCaptions(ide, bar)) {
            if (caption.contains("Trawlex Plus")) ++count;
        }
    }
    return count;
}

// Clicks the tool-bar search button.
bool ClickSearchButton(IdeWindow& ide) {
    QAction* button = e2e::BarAction(ide, "標準", e2e::kSearchCaption);
    if (!button) return false;
    button->trigger();
    return e2e::WaitForSearchEnd();
}

// Shows the search window and arranges for `during` to run once while the next search runs,
// from the event loop between two of its slices, as a click would. The window's class lives in the
// add-in library; its hook setters are inline, so the test reaches them without linking that
// library.
QPointer<QWidget> ArmSearchWindow(IdeWindow& ide, std::function<void()> during) {
    if (!ClickSearchButton(ide)) return nullptr;
    QWidget* widget = e2e::SearchWindow();
    if (!widget) return nullptr;
    auto* window = static_cast<window::frmAddIn*>(widget);
    window->SetYieldIntervalMs(0);
    window->SetOnYield([during = std::move(during), done = false]() mutable {
        if (std::exchange(done, true)) return;
        QTimer::singleShot(0, during);
    });
    return widget;
}

}  // namespace

class Vb6EditorTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        machine_ = std::make_unique<e2e::ScopedMachine>();
        QVERIFY(e2e::RegisterWithRegsvr32());
    }
    void cleanup() { machine_.reset(); }

    void loadsAtStartWithItsCommandsOnTheBars() {
        // Self-registration asked for loading at start-up.
        QCOMPARE(QString::fromStdString(platform::RegRead("HKCU\\Software\\Microsoft\\Visual "
                                                          "Basic\\6.0\\Addins\\Trawlex.Connect\\"
                                                          "LoadBehavior")
                                            .value_or("?")),
                 QString("1"));
        IdeWindow plain(Flavour::VisualBasic6);
        const QStringList plainBar = e2e::BarCaptions(plain, "標準");

        auto ide = StartEditor();
        QVERIFY(ide);
        QVERIFY(ide->Host().Manager().IsConnected(e2e::kProgId));
        QVERIFY2(!ide->statusBar()->currentMessage().contains("not loaded"),
                 qPrintable(ide->statusBar()->currentMessage()));

        // The two buttons stand, in their order, before the bar's last control.
        const QStringList bar = e2e::BarCaptions(*ide, "標準");
        QCOMPARE(bar.size(), plainBar.size() + 2);
        QCOMPARE(bar.mid(0, plainBar.size() - 1), plainBar.mid(0, plainBar.size() - 1));
        QCOMPARE(bar.mid(plainBar.size() - 1, 2),
                 QStringList({e2e::kSearchCaption, e2e::kOptionsCaption}));
        QCOMPARE(bar.last(), plainBar.last());

        // Their faces: the 16 × 16 pictures on silver, and not the same picture twice.
        QAction* search = e2e::BarAction(*ide, "標準", e2e::kSearchCaption);
        QAction* options = e2e::BarAction(*ide, "標準", e2e::kOptionsCaption);
        const QImage searchFace = search->icon().pixmap(16, 16).toImage();
        const QImage optionsFace = options->icon().pixmap(16, 16).toImage();
        QCOMPARE(searchFace.size(), QSize(16, 16));
        QCOMPARE(searchFace.pixelColor(0, 0), QColor(192, 192, 192));
        QVERIFY(searchFace.convertToFormat(QImage::Format_RGB32) !=
                optionsFace.convertToFormat(QImage::Format_RGB32));

        QCOMPARE(e2e::BarCaptions(*ide, "Add-Ins").count(kAddinsItem), 1);
        QCOMPARE(e2e::BarCaptions(*ide, "Tools").count(kToolsItem), 1);
        QCOMPARE(e2e::BarCaptions(*ide, "Help").count(kHelpItem), 1);
        QCOMPARE(AddinCommandCount(*ide), 5);
    }

    void toolBarButtonOpensTheSearchWindow() {
        auto ide = StartEditor();
        QVERIFY(ide);
        QVERIFY(!e2e::SearchWindow());
        auto pane = e2e::ShowModule(*ide, "modMain");
        QVERIFY(pane);

        // A caret without a selection only shows the window.
        QVERIFY(ClickSearchButton(*ide));
        QWidget* window = e2e::SearchWindow();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QString("Trawlex Plus"));
        QCOMPARE(e2e::ResultView(window, 0)->model()->rowCount(), 0);

        // The Add-Ins menu item runs the same command on the same window.
        window->hide();
        QAction* item = e2e::BarAction(*ide, "Add-Ins", kAddinsItem);
        QVERIFY(item);
        item->trigger();
        QVERIFY(window->isVisible());
        QCOMPARE(e2e::SearchWindowCount(), 1);
    }

    void selectionSearchesOnTheNextTabAndSelectsItsLine() {
        auto ide = StartEditor();
        QVERIFY(ide);
        auto pane = e2e::ShowModule(*ide, "modMain");
        QVERIFY(pane);

        // A first search fills the first tab.
        const int setLine = e2e::LineContaining(*pane, "Set gInventory = New clsInventory");
        QVERIFY(setLine > 0);
        QVERIFY(e2e::SelectInLine(*pane, setLine, "gInventory"));
        QVERIFY(ClickSearchButton(*ide));
        QWidget* window = e2e::SearchWindow();
        QVERIFY(window);
        QTreeView* first = e2e::ResultView(window, 0);
        QCOMPARE(e2e::CheckedTab(window), 0);
        QVERIFY(first->model()->rowCount() > 0);
        const int firstRows = first->model()->rowCount();

        // The second selection, on a line with Japanese, goes to the next tab.
        const int line = e2e::LineContaining(*pane, "\"C-100\", \"能率手帳\"");
        QVERIFY(line > 0);
        QVERIFY(e2e::SelectInLine(*pane, line, "gInventory"));
        QVERIFY(ClickSearchButton(*ide));
        QCOMPARE(e2e::SearchWindow(), window);
        QCOMPARE(e2e::CheckedTab(window), 1);
        QCOMPARE(first->model()->rowCount(), firstRows);
        QCOMPARE(window->findChild<QComboBox*>("txtSearchStr")->currentText(),
                 QString("gInventory"));

        // The procedure at the caret has one hit per gInventory.Add line.
        QTreeView* second = e2e::ResultView(window, 1);
        QCOMPARE(second->model()->rowCount(), 5);
        for (int row = 0; row < 5; ++row) {
            QCOMPARE(e2e::Cell(second, row, 0), QString("modMain"));
            QCOMPARE(e2e::Cell(second, row, 2), QString("LoadSampleData"));
            QVERIFY(e2e::Cell(second, row, 4).startsWith("gInventory.Add \""));
        }
        const int selected = e2e::SelectedRow(second);
        QVERIFY(selected >= 0);
        QCOMPARE(e2e::Cell(second, selected, 1), QString::number(line));
        QCOMPARE(e2e::Cell(second, selected, 4),
                 QString("gInventory.Add \"C-100\", \"能率手帳\", 0, 980"));
    }

    void doubleClickSelectsTheWholeLineInTheCodePane() {
        auto ide = StartEditor();
        QVERIFY(ide);
        auto target = e2e::ShowModule(*ide, "modMain");
        QVERIFY(target);
        const int line = e2e::LineContaining(*target, "\"C-100\", \"能率手帳\"");
        QVERIFY(e2e::SelectInLine(*target, line, "gInventory"));
        QVERIFY(ClickSearchButton(*ide));
        QWidget* window = e2e::SearchWindow();
        QVERIFY(window);
        QTreeView* view = e2e::ResultView(window, 0);
        QCOMPARE(view->model()->rowCount(), 5);
        int row = -1;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            if (e2e::Cell(view, r, 1) == QString::number(line)) row = r;
        }
        QVERIFY(row >= 0);

        // Another module's pane is active when the hit is opened.
        auto other = e2e::ShowModule(*ide, "modUtil");
        QVERIFY(other);
        QCOMPARE(ide->Workspace().ActivePane(), other);

        window->activateWindow();
        const QModelIndex cell = view->model()->index(row, 4);
        view->scrollTo(cell);
        QTRY_VERIFY(view->visualRect(cell).isValid());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());

        // The whole line is selected in ANSI bytes: the sample file holds the line in the
        // ANSI code page, so its byte count is the answer (each kanji counts 2).
        const QByteArray bytes = e2e::SampleLineBytes("modMain.bas", "\"C-100\"");
        QVERIFY(bytes.contains("gInventory.Add"));
        QCOMPARE(ide->Workspace().ActivePane(), target);
        const host::Selection selection = target->GetSelection().value();
        QCOMPARE(selection.startLine, line);
        QCOMPARE(selection.startColumn, 1);
        QCOMPARE(selection.endLine, line);
        QCOMPARE(selection.endColumn, static_cast<int>(bytes.size()) + 1);
        QVERIFY(target->Editor()->textCursor().selectedText().endsWith("0, 980"));
        QTRY_VERIFY(target->Editor()->hasFocus());
    }

    void disconnectionRemovesTheCommandsAndHidesTheWindow() {
        auto ide = StartEditor();
        QVERIFY(ide);
        const QStringList bar = e2e::BarCaptions(*ide, "標準");
        auto addin = ide->Host().Addins().value()->Item(e2e::kProgId).value();

        // Addins("Trawlex.Connect").Connect = False.
        QVERIFY(ClickSearchButton(*ide));
        QPointer<QWidget> window = e2e::SearchWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(addin->SetConnect(false).ok());
        QCOMPARE(AddinCommandCount(*ide), 0);
        QCOMPARE(e2e::BarCaptions(*ide, "標準").size(), bar.size() - 2);
        QVERIFY(!window || !window->isVisible());

        // Connected again, then unloaded through the Add-In Manager.
        QVERIFY(addin->SetConnect(true).ok());
        QCOMPARE(AddinCommandCount(*ide), 5);
        QCOMPARE(e2e::BarCaptions(*ide, "標準"), bar);
        QVERIFY(ClickSearchButton(*ide));
        window = e2e::SearchWindow();
        QVERIFY(window && window->isVisible());
        {
            AddinManagerDialog dialog(ide->Host().Manager(), ide.get());
            bool found = false;
            for (int i = 0; i < dialog.List()->topLevelItemCount(); ++i) {
                if (dialog.List()->topLevelItem(i)->text(0) != "Trawlex Plus") continue;
                dialog.List()->setCurrentItem(dialog.List()->topLevelItem(i));
                found = true;
            }
            QVERIFY(found);
            QVERIFY(dialog.LoadedBox()->isChecked());
            QVERIFY(dialog.StartupBox()->isChecked());
            dialog.LoadedBox()->setChecked(false);
            QVERIFY(dialog.Apply().empty());
        }
        QVERIFY(!ide->Host().Manager().IsConnected(e2e::kProgId));
        QCOMPARE(AddinCommandCount(*ide), 0);
        QVERIFY(!window || !window->isVisible());
        // Unloading now is not unregistering: the next start loads it again.
        QCOMPARE(addin->Installed().value_or(false), true);

        // Closing the editor disconnects it too.
        QVERIFY(addin->SetConnect(true).ok());
        QVERIFY(ClickSearchButton(*ide));
        window = e2e::SearchWindow();
        QVERIFY(window && window->isVisible());
        QVERIFY(ide->close());
        QVERIFY(!ide->Host().Manager().IsConnected(e2e::kProgId));
        QCOMPARE(AddinCommandCount(*ide), 0);
        QVERIFY(!window || !window->isVisible());
    }

    void unloadingDuringASearchStopsItAndThenRemovesTheWindow() {
        auto ide = StartEditor();
        QVERIFY(ide);
        auto pane = e2e::ShowModule(*ide, "modMain");
        QVERIFY(pane);
        const int line = e2e::LineContaining(*pane, "Set gInventory = New clsInventory");
        QVERIFY(line > 0);
        auto addin = ide->Host().Addins().value()->Item(e2e::kProgId).value();
        bool unloaded = false;
        QPointer<QWidget> window = ArmSearchWindow(*ide, [&] {
            unloaded = addin->SetConnect(false).ok();
            QVERIFY(!ide->Host().Manager().IsConnected(e2e::kProgId));
        });
        QVERIFY(window);

        QVERIFY(e2e::SelectInLine(*pane, line, "gInventory"));
        QVERIFY(ClickSearchButton(*ide));
        QTRY_VERIFY(unloaded);
        QCOMPARE(AddinCommandCount(*ide), 0);
        QTRY_VERIFY(!window);
        QCOMPARE(e2e::SearchWindowCount(), 0);

        // The library loads again and makes a new window.
        QVERIFY(addin->SetConnect(true).ok());
        QVERIFY(ClickSearchButton(*ide));
        QVERIFY(e2e::SearchWindow());
        QCOMPARE(e2e::SearchWindowCount(), 1);
    }

    void closingTheEditorDuringASearchStopsItAndThenRemovesTheWindow() {
        auto ide = StartEditor();
        QVERIFY(ide);
        auto pane = e2e::ShowModule(*ide, "modMain");
        QVERIFY(pane);
        const int line = e2e::LineContaining(*pane, "Set gInventory = New clsInventory");
        QVERIFY(line > 0);
        bool closed = false;
        QPointer<QWidget> window = ArmSearchWindow(*ide, [&] { closed = ide->close(); });
        QVERIFY(window);

        QVERIFY(e2e::SelectInLine(*pane, line, "gInventory"));
        QVERIFY(ClickSearchButton(*ide));
        QTRY_VERIFY(closed);
        QVERIFY(!ide->Host().Manager().IsConnected(e2e::kProgId));
        QTRY_VERIFY(!window);
        ide.reset();
        QCOMPARE(e2e::SearchWindowCount(), 0);
    }

  private:
    std::unique_ptr<e2e::ScopedMachine> machine_;
};

QTEST_MAIN(Vb6EditorTest)
#include "vb6_editor_qtest.moc"
