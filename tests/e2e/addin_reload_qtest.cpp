// Unloading and loading the add-in again through the Add-In Manager while its search window
// has been shown and painted, then searching: the sequence a user follows, several times over.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "e2e_support.h"
#include "vbide/addin_manager.h"
#include "vbide/addin_manager_dialog.h"
#include "vbide/ide_code_pane.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

QAction* AddinManagerItem(IdeWindow& ide) {
    for (QAction* menu : ide.menuBar()->actions()) {
        if (!menu->menu() || menu->menu()->objectName() != "Add-Ins") continue;
        for (QAction* item : menu->menu()->actions()) {
            if (item->text() == "&Add-In Manager...") return item;
        }
    }
    return nullptr;
}

// Opens "Add-In Manager..." from the menu, sets the add-in's Loaded box and presses OK.
bool SetLoadedInManager(IdeWindow& ide, bool loaded) {
    QAction* item = AddinManagerItem(ide);
    if (!item) return false;
    bool found = false;
    QTimer::singleShot(0, &ide, [&] {
        auto* dialog = qobject_cast<AddinManagerDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        for (int i = 0; i < dialog->List()->topLevelItemCount(); ++i) {
            if (dialog->List()->topLevelItem(i)->text(0) != "Trawlex Plus") continue;
            dialog->List()->setCurrentItem(dialog->List()->topLevelItem(i));
            dialog->LoadedBox()->setChecked(loaded);
            found = true;
        }
        dialog->accept();
    });
    item->trigger();
    return found && ide.Host().Manager().IsConnected(e2e::kProgId) == loaded;
}

bool ClickSearchButton(IdeWindow& ide) {
    QAction* button = e2e::BarAction(ide, "標準", e2e::kSearchCaption);
    if (!button) return false;
    button->trigger();
    return e2e::WaitForSearchEnd();
}

// Lets the window paint its lists and headers, as a visible window would.
void Paint(QWidget* window) {
    QCoreApplication::processEvents();
    (void)window->grab();
    QCoreApplication::processEvents();
}

}  // namespace

class AddinReloadTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        machine_ = std::make_unique<e2e::ScopedMachine>();
        QVERIFY(e2e::RegisterWithRegsvr32());
    }
    void cleanup() { machine_.reset(); }

    void unloadAndReloadWithTheWindowShownThenSearch() {
        IdeWindow ide(Flavour::VisualBasic6);
        QVERIFY(ide.OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp").ok());
        ide.show();
        ide.ConnectStartupAddins();
        QVERIFY(ide.Host().Manager().IsConnected(e2e::kProgId));
        auto pane = e2e::ShowModule(ide, "modMain");
        QVERIFY(pane);
        const int line = e2e::LineContaining(*pane, "Set gInventory = New clsInventory");
        QVERIFY(line > 0);

        for (int round = 0; round < 3; ++round) {
            // A search from the code selection fills a list; the window paints it.
            QVERIFY(e2e::ShowModule(ide, "modMain"));
            QVERIFY(e2e::SelectInLine(*pane, line, "gInventory"));
            QVERIFY(ClickSearchButton(ide));
            QPointer<QWidget> window = e2e::SearchWindow();
            QVERIFY(window && window->isVisible());
            QTreeView* view = e2e::ResultView(window, e2e::CheckedTab(window));
            QVERIFY(view);
            QVERIFY(view->model()->rowCount() > 0);
            QCOMPARE(view->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                     int(Qt::AlignRight | Qt::AlignVCenter));
            Paint(window);

            QVERIFY2(SetLoadedInManager(ide, false), "unloading through the manager");
            QVERIFY(!e2e::BarAction(ide, "標準", e2e::kSearchCaption));
            QCoreApplication::processEvents();
            QVERIFY(SetLoadedInManager(ide, true));

            // The buttons are back; a click shows the window, which paints and searches.
            QVERIFY(ClickSearchButton(ide));
            window = e2e::SearchWindow();
            QVERIFY(window && window->isVisible());
            QCOMPARE(e2e::SearchWindowCount(), 1);
            Paint(window);
            auto* search = window->findChild<QComboBox*>("txtSearchStr");
            QVERIFY(search);
            search->setEditText("gInventory");
            auto* area = window->findChild<QComboBox*>("cmbSearchArea");
            QVERIFY(area);
            area->setCurrentIndex(2);  // the active project
            auto* start = window->findChild<QAbstractButton*>("cmdSearchStart");
            QVERIFY(start);
            start->click();
            view = e2e::ResultView(window, e2e::CheckedTab(window));
            QTRY_VERIFY(view->model()->rowCount() > 0);  // rows reach the view in batches
            Paint(window);
        }
    }

  private:
    std::unique_ptr<e2e::ScopedMachine> machine_;
};

QTEST_MAIN(AddinReloadTest)
#include "addin_reload_qtest.moc"
