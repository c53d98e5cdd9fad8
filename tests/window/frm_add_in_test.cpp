// The search window: its controls and layout, loading from the settings, closing, the
// history, the tab model and the public Search operation, against the fake host.

#include "window/frm_add_in.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/settings.h"
#include "tests/fake_host/fake_host.h"
#include "window/control_settings.h"
#include "window/result_list.h"
#include "window/search_history.h"
#include "window/search_wait.h"
#include "window/twips.h"

using namespace trawlex;
using namespace trawlex::window;
using host::fake::FakeHost;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

void Store(const QString& key, const QString& value) {
    QVERIFY(trawlex::platform::SaveSetting(kSettingsApp, kSettingsSection, key.toStdString(),
                                           value.toStdString()));
}

QString Stored(const QString& key) {
    return QString::fromStdString(trawlex::platform::GetSetting(kSettingsApp, kSettingsSection,
                                                                key.toStdString(), "<absent>"));
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
    return items;
}

constexpr const char* kStockModule =
    "Option Explicit\r\n"          // 1
    "Sub Count()\r\n"              // 2
    "  stock = 1\r\n"              // 3
    "  stock = stock + 1\r\n"      // 4
    "  MsgBox \"在庫を確認\"\r\n"  // 5
    "End Sub\r\n";                 // 6

}  // namespace

class FrmAddInTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void twipsFollowTheLogicalDpi() {
        QCOMPARE(TwipsToPixels(1440, 96), 96);
        QCOMPARE(TwipsToPixels(8775, 96), 585);
        QCOMPARE(TwipsToPixels(-30, 96), -2);
        QCOMPARE(TwipsToPixels(1440, 144), 144);
        QCOMPARE(PixelsToTwips(1, 96), 15);
        QCOMPARE(PixelsToTwips(-2, 96), -30);
    }

    void controlsCarryTheirNamesAndCaptions() {
        frmAddIn w(nullptr);
        QCOMPARE(w.windowTitle(), Q("Trawlex Plus"));
        QCOMPARE(w.findChild<QLabel*>("Label1")->text(), Q("検索文字列"));
        QCOMPARE(w.findChild<QLabel*>("Label2")->text(), Q("検索の対象"));
        QCOMPARE(w.findChild<QLabel*>("Label3")->text(), Q("フォルダ指定"));
        QCOMPARE(Items(*w.findChild<QComboBox*>("cmbSearchArea")),
                 QStringList({Q("プロシージャ (local)"), Q("モジュール (Private)"),
                              Q("プロジェクト (Public)"), Q("表示中のモジュール"),
                              Q("ファイル（拡張子選択）"), Q("ファイル（全て）")}));
        QVERIFY(w.findChild<QComboBox*>("txtSearchStr")->isEditable());
        QVERIFY(w.findChild<QLineEdit*>("txtFilepath"));
        QCOMPARE(w.findChild<QPushButton*>("cmdChangeFolder")->text(), Q("フォルダ変更"));
        QCOMPARE(w.findChild<QCheckBox*>("chkSubFolders")->text(), Q("サブフォルダも検索"));
        QCOMPARE(w.findChild<QCheckBox*>("chkCase")->text(), Q("バイナリモード検索"));
        QCOMPARE(w.chkCase->toolTip(),
                 Q("バイナリモード検索では、「英字の大文字・小文字」、\r\n「半角と全角」、"
                   "「ひらがなとカタカナ」を区別します。"));
        QCOMPARE(w.findChild<QPushButton*>("cmdSearchStart")->text(), Q("検索開始！"));
        QCOMPARE(w.findChild<QPushButton*>("CancelButton")->text(), Q("検索中断"));
        QVERIFY(w.findChild<QFrame*>("picPane"));
        QVERIFY(w.findChild<QStatusBar*>("stbSelected"));

        const QStringList modes = {Q("通常検索"), Q("ﾜｲﾙﾄﾞｶｰﾄﾞ"), Q("正規表現"), Q("単語検索"),
                                   Q("秀丸のGrep")};
        const auto options = w.findChildren<QRadioButton*>("optSearch");
        QCOMPARE(options.size(), 5);
        for (QRadioButton* option : options) {
            QCOMPARE(option->text(), modes[option->property("index").toInt()]);
        }
        const auto tabs = w.findChildren<QPushButton*>("tabPane");
        QCOMPARE(tabs.size(), 9);
        for (QPushButton* tab : tabs) {
            const int index = tab->property("index").toInt();
            QCOMPARE(tab->text(), Q("検索") + QChar(0xFF11 + index));
            QCOMPARE(tab->parentWidget(), w.picPane);
            QCOMPARE(tab->x(), TwipsToPixelsX(w, 960 * index));
        }
        const auto lists = w.findChildren<ResultList*>("lvwGrep");
        QCOMPARE(lists.size(), 9);
        for (ResultList* list : lists) QCOMPARE(list->property("index").toInt(), list->Index());
    }

    void layoutFollowsTheDesignTableAndTheResizeRule() {
        frmAddIn w(nullptr);
        QCOMPARE(w.txtSearchStr->geometry(), TwipsRect(w, 1080, 0, 3975, 300));
        QCOMPARE(w.cmdSearchStart->geometry(), w.CancelButton->geometry());
        // Captions keep their place and grow only when the font draws them wider.
        const QRect hidemaru = TwipsRect(w, 7440, 450, 1215, 225);
        QCOMPARE(w.optSearch[4]->pos(), hidemaru.topLeft());
        QCOMPARE(w.optSearch[4]->height(), hidemaru.height());
        QVERIFY(w.optSearch[4]->width() >= hidemaru.width());
        QVERIFY(w.optSearch[4]->width() >= w.optSearch[4]->sizeHint().width());
        QCOMPARE(w.lvwGrep[0]->y(), TwipsToPixelsY(w, 1215));
        QCOMPARE(w.lvwGrep[1]->y(), TwipsToPixelsY(w, 1200));
        QCOMPARE(w.font().family(), Q("MS UI Gothic"));
        QCOMPARE(w.font().pointSize(), 9);

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(w.width() + 200, w.height() + 100);
        QTRY_COMPARE(w.lvwGrep[3]->width(), w.width() - 2 * w.lvwGrep[3]->x());
        QCOMPARE(w.lvwGrep[3]->x(), TwipsToPixelsX(w, -30));
        QCOMPARE(w.lvwGrep[3]->height(), w.height() - w.lvwGrep[3]->y() - w.stbSelected->height());
        QCOMPARE(w.stbSelected->geometry().bottom(), w.height() - 1);

        // Narrower than the minimum outer width snaps back to it.
        w.resize(100, w.height());
        const int frame = w.frameGeometry().width() - w.width();
        QTRY_COMPARE(w.width() + frame, TwipsToPixelsX(w, 8775));
    }

    void loadTakesTheStoredControlValues() {
        Store("cmbSearchArea", "5");
        Store("txtSearchStr", "stored text");
        Store("txtFilepath", "/stored/folder/");
        Store("optSearch(2)", "True");
        Store("chkCase", "1");
        Store("chkSubFolders", "1");
        frmAddIn w(nullptr, "/current/folder/");
        QCOMPARE(w.cmbSearchArea->currentIndex(), 5);
        QCOMPARE(w.txtSearchStr->currentText(), Q("stored text"));
        QCOMPARE(w.txtFilepath->text(), Q("/current/folder/"));  // CurrentFolder wins
        QVERIFY(w.optSearch[2]->isChecked());
        QVERIFY(w.chkCase->isChecked());
        QVERIFY(w.chkSubFolders->isChecked());
        QVERIFY(w.CancelButton->isHidden());
        QVERIFY(!w.cmdSearchStart->isHidden());
        QVERIFY(w.txtFilepath->isEnabled());
    }

    void loadIgnoresValuesThatDoNotFit() {
        Store("cmbSearchArea", "9");
        Store("chkCase", "checked");
        Store("optSearch(4)", "True");  // Hidemaru is not allowed for the first area
        frmAddIn w(nullptr);
        QCOMPARE(w.cmbSearchArea->currentIndex(), 0);
        QVERIFY(!w.chkCase->isChecked());
        QVERIFY(w.optSearch[0]->isChecked());
        QVERIFY(!w.optSearch[4]->isEnabled());
    }

    void areaBoxEnablesTheFolderControlsAndTheHidemaruMode() {
        frmAddIn w(nullptr);
        for (int area = 0; area < 6; ++area) {
            w.cmbSearchArea->setCurrentIndex(area);
            QCOMPARE(w.txtFilepath->isEnabled(), area > 3);
            QCOMPARE(w.cmdChangeFolder->isEnabled(), area > 3);
            QCOMPARE(w.chkSubFolders->isEnabled(), area > 3);
            QCOMPARE(w.optSearch[4]->isEnabled(), area == 5);
        }
        w.optSearch[4]->setChecked(true);
        w.cmbSearchArea->setCurrentIndex(4);
        QVERIFY(w.optSearch[0]->isChecked());
    }

    void closingHidesTheWindowAndKeepsItsRows() {
        FakeHost host;
        host.OpenPane(host.AddProject("P")->AddModule("modMain", "x\r\n"));
        frmAddIn w(&host);
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("x");
        RunSearch(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.close());
        QVERIFY(w.isHidden());
        QVERIFY(w.StopRequested());
        w.show();
        QCOMPARE(w.CurrentList().RowCount(), 1);

        QTest::keyClick(w.lvwGrep[0], Qt::Key_Escape);
        QVERIFY(w.isHidden());
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isHidden());
    }

    void rowClickEchoesTheLineInTheStatusBar() {
        frmAddIn w(nullptr);
        emit w.List(0).RowClicked(Q("stock = 1"));
        QCOMPARE(w.StatusText(), Q("stock = 1"));
    }

    void openingAModuleHitSelectsItsLineInTheHost() {
        FakeHost host;
        auto project = host.AddProject("P");
        auto stock = project->AddModule("modStock", kStockModule);
        host.OpenPane(project->AddModule("modOther", "Sub X()\r\nEnd Sub\r\n"));
        host.OpenPane(stock);
        frmAddIn w(&host);
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("stock");
        RunSearch(w);
        host.OpenPane(project->components()[1]);  // the hit's module is no longer active
        w.List(0).SelectRow(1);
        emit w.List(0).JumpRequested(0);
        QCOMPARE(host.activePane()->component()->name(), std::string("modStock"));
        const auto selection = host.activePane()->selection();
        QCOMPARE(selection.startLine, 4);
        QCOMPARE(selection.endLine, 4);
    }

    void historyKeepsThirtyOneEntriesAndShowsThirty() {
        QComboBox box;
        box.setEditable(true);
        QVERIFY(AddHistory(box, Q("s0")).ok());
        QVERIFY(AddHistory(box, Q("s1")).ok());
        QCOMPARE(Stored(HistoryKey(0)), Q("s1"));
        QCOMPARE(Stored(HistoryKey(1)), Q("s0"));
        QCOMPARE(Items(box), QStringList({"s1", "s0"}));  // the box gets it at the top
        QCOMPARE(box.currentText(), Q("s1"));

        // A full history, as after searching s0 ... s30: one more loses s0.
        for (int n = 0; n < kHistoryEntries; ++n) Store(HistoryKey(n), QString("s%1").arg(30 - n));
        QVERIFY(AddHistory(box, Q("s31")).ok());
        QCOMPARE(Stored(HistoryKey(0)), Q("s31"));
        QCOMPARE(Stored(HistoryKey(1)), Q("s30"));
        QCOMPARE(Stored(HistoryKey(30)), Q("s1"));
        QCOMPARE(Stored(HistoryKey(31)), Q("<absent>"));
        QCOMPARE(box.count(), 3);  // not trimmed until reloaded

        LoadHistory(box);
        QCOMPARE(box.count(), 30);
        QCOMPARE(box.itemText(0), Q("s31"));
        QCOMPARE(box.itemText(29), Q("s2"));  // "s1", entry 30, is never shown
    }

    void historyLeavesAKnownStringWhereItIs() {
        QComboBox box;
        box.setEditable(true);
        for (const char* s : {"a", "b", "c"}) QVERIFY(AddHistory(box, Q(s)).ok());
        QVERIFY(AddHistory(box, Q("a")).ok());
        QCOMPARE(Stored(HistoryKey(0)), Q("c"));
        QCOMPARE(Stored(HistoryKey(2)), Q("a"));
        QCOMPARE(box.count(), 3);
        QVERIFY(AddHistory(box, Q("A")).ok());  // case matters
        QCOMPARE(Stored(HistoryKey(0)), Q("A"));

        // Known in entry 30 too, although that one is never shown.
        Store(HistoryKey(30), "hidden");
        QVERIFY(AddHistory(box, Q("hidden")).ok());
        QCOMPARE(Stored(HistoryKey(0)), Q("A"));
        QCOMPARE(Stored(HistoryKey(30)), Q("hidden"));
        QCOMPARE(box.count(), 4);
    }

    void typedSearchStringIsNotCompletedFromTheHistory() {
        Store(HistoryKey(0), Q("MsgBox\\s+\"[^\"]*終了"));
        Store(HistoryKey(1), Q("msgbox"));
        frmAddIn w(nullptr);
        w.show();
        LoadHistory(*w.txtSearchStr);
        QVERIFY(!w.txtSearchStr->completer());
        w.txtSearchStr->setEditText(QString());
        QTest::keyClicks(w.txtSearchStr->lineEdit(), "MsgBox");
        QCOMPARE(w.txtSearchStr->currentText(), Q("MsgBox"));
        w.txtSearchStr->setEditText(QString());
        QTest::keyClicks(w.txtSearchStr->lineEdit(), "MSGBOX");
        QCOMPARE(w.txtSearchStr->currentText(), Q("MSGBOX"));
    }

    void settingTheCurrentFolderLeavesTheTypedFolder() {
        frmAddIn w(nullptr, Q("/start/"));
        QCOMPARE(w.txtFilepath->text(), Q("/start/"));
        w.txtFilepath->setText(Q("/typed/by/user"));
        w.SetCurrentFolder(Q("/connected/again/"));
        QCOMPARE(w.CurrentFolder(), Q("/connected/again/"));
        QCOMPARE(w.txtFilepath->text(), Q("/typed/by/user"));
    }

    void historyLoadTrimsAndSkipsEmptyEntries() {
        Store(HistoryKey(0), "  padded  ");
        Store(HistoryKey(1), "   ");
        Store(HistoryKey(2), "third");
        Store(HistoryKey(3), "\tTab\t ");  // only spaces are trimmed, as the run trims
        Store("HISTORY4", "any case");     // keys compare without case, as in the store
        QComboBox box;
        box.setEditable(true);
        box.setEditText("typed");
        LoadHistory(box);
        QCOMPARE(Items(box), QStringList({"padded", "third", "\tTab\t", "any case"}));
        QCOMPARE(box.currentText(), Q("typed"));
    }

    void newTabScope_data() {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<int>("areaBefore");
        QTest::addColumn<int>("areaAfter");
        QTest::newRow("missing") << QString() << 3 << 0;
        QTest::newRow("0 always local") << "0" << 4 << 0;
        QTest::newRow("1 always private") << "1" << 0 << 1;
        QTest::newRow("2 always public") << "2" << 5 << 2;
        QTest::newRow("3 from public") << "3" << 2 << 1;
        QTest::newRow("3 from local") << "3" << 0 << 0;
        QTest::newRow("4 from files") << "4" << 5 << 1;
        QTest::newRow("4 from open modules") << "4" << 3 << 1;
        QTest::newRow("4 from public") << "4" << 2 << 2;
        QTest::newRow("5 inherit") << "5" << 4 << 4;
        QTest::newRow("other text") << "x" << 3 << 3;
        QTest::newRow("beyond the list") << "6" << 3 << 3;
    }

    void newTabScope() {
        QFETCH(QString, scope);
        QFETCH(int, areaBefore);
        QFETCH(int, areaAfter);
        if (!scope.isNull()) Store("NewTabScope", scope);
        frmAddIn w(nullptr);
        w.cmbSearchArea->setCurrentIndex(areaBefore);
        w.txtSearchStr->setEditText("old");
        w.tabPane[4]->click();
        QCOMPARE(w.CurrentTab(), 4);
        QCOMPARE(w.cmbSearchArea->currentIndex(), areaAfter);
        QCOMPARE(w.txtSearchStr->currentText(), QString());
        QVERIFY(!w.lvwGrep[4]->isHidden());
        QVERIFY(w.lvwGrep[0]->isHidden());
    }

    void tabWithRowsGetsBackItsSearchControls() {
        FakeHost host;
        host.OpenPane(host.AddProject("P")->AddModule("modMain", kStockModule));
        frmAddIn w(&host, "/src/");
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("stock");
        w.optSearch[3]->setChecked(true);
        w.chkCase->setChecked(true);
        w.tabPane[6]->click();
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("stock");
        w.optSearch[3]->setChecked(true);
        w.chkCase->setChecked(true);
        RunSearch(w);
        QCOMPARE(w.List(6).RowCount(), 2);

        w.tabPane[7]->click();  // empty: the area from NewTabScope, no search text
        QCOMPARE(w.cmbSearchArea->currentIndex(), 0);
        w.optSearch[1]->setChecked(true);
        w.chkCase->setChecked(false);
        w.txtFilepath->setText("/elsewhere/");

        w.tabPane[6]->click();
        QCOMPARE(w.CurrentTab(), 6);
        QCOMPARE(w.cmbSearchArea->currentIndex(), 1);
        QCOMPARE(w.txtSearchStr->currentText(), Q("stock"));
        QVERIFY(w.optSearch[3]->isChecked());
        QVERIFY(w.chkCase->isChecked());
        QCOMPARE(w.txtFilepath->text(), Q("/src/"));
        QVERIFY(!w.lvwGrep[6]->isHidden());
    }

    void searchTakesTheSelectionToTheNextTabAndSelectsItsLine() {
        Store(HistoryKey(0), "older");
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("P")->AddModule("modStock", kStockModule));
        frmAddIn w(&host);
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("Option");
        RunSearch(w);
        QCOMPARE(w.List(0).RowCount(), 1);

        QVERIFY(pane->SetSelection({4, 3, 4, 8}).ok());  // "stock" on line 4
        w.optSearch[2]->setChecked(true);
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.CurrentTab(), 1);
        QVERIFY(w.tabPane[1]->isChecked());
        QCOMPARE(w.txtSearchStr->currentText(), Q("stock"));
        QVERIFY(w.optSearch[0]->isChecked());
        QCOMPARE(w.List(0).RowCount(), 1);  // the previous tab keeps its rows
        QCOMPARE(w.List(1).RowCount(), 2);
        QCOMPARE(w.List(1).SelectedRow(), 1);
        QCOMPARE(w.txtSearchStr->maxVisibleItems(), 32);
        QCOMPARE(Items(*w.txtSearchStr), QStringList({"stock", "Option", "older"}));

        // Columns are ANSI bytes: each of 在 and 庫 counts two.
        QVERIFY(pane->SetSelection({5, 11, 5, 15}).ok());
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.CurrentTab(), 2);
        QCOMPARE(w.txtSearchStr->currentText(), Q("在庫"));
        QCOMPARE(w.List(2).RowCount(), 1);
        QCOMPARE(w.List(2).SelectedRow(), 0);
    }

    void searchWrapsFromTheLastTabToTheFirst() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("P")->AddModule("modStock", kStockModule));
        frmAddIn w(&host);
        w.tabPane[8]->click();
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("stock");
        RunSearch(w);
        QVERIFY(pane->SetSelection({3, 3, 3, 8}).ok());
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.CurrentTab(), 0);
        QCOMPARE(w.List(0).SelectedRow(), 0);
    }

    void searchWithoutASingleLineSelectionOnlyReappliesTheTab() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("P")->AddModule("modStock", kStockModule));
        frmAddIn w(&host);
        w.cmbSearchArea->setCurrentIndex(3);
        w.txtSearchStr->setEditText("typed");
        QVERIFY(pane->SetSelection({3, 3, 4, 8}).ok());  // two lines
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.cmbSearchArea->currentIndex(), 0);
        QCOMPARE(w.txtSearchStr->currentText(), QString());
        QCOMPARE(w.List(0).RowCount(), 0);
        QCOMPARE(w.StatusText(), QString());

        w.txtSearchStr->setEditText("typed");
        QVERIFY(pane->SetSelection({3, 5, 3, 5}).ok());  // caret only
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.txtSearchStr->currentText(), QString());
        QCOMPARE(w.List(0).RowCount(), 0);
    }

    void searchDuringARunningSearchOnlyStopsIt() {
        FakeHost host;
        auto pane = host.OpenPane(host.AddProject("P")->AddModule("modStock", kStockModule));
        frmAddIn w(&host);
        w.cmbSearchArea->setCurrentIndex(1);
        w.txtSearchStr->setEditText("stock");
        RunSearch(w);
        QCOMPARE(w.List(0).RowCount(), 2);

        QVERIFY(pane->SetSelection({5, 3, 5, 9}).ok());  // "MsgBox"
        QString textDuringRun;
        int tabDuringRun = -1;
        bool stopped = false;
        w.SetYieldIntervalMs(0);
        w.SetOnYield([&] {
            if (stopped) return;
            w.Search();
            stopped = w.StopRequested();
            textDuringRun = w.txtSearchStr->currentText();
            tabDuringRun = w.CurrentTab();
        });
        RunSearch(w);
        QVERIFY(stopped);
        QCOMPARE(textDuringRun, Q("stock"));
        QCOMPARE(tabDuringRun, 0);
        QCOMPARE(w.CurrentTab(), 0);
        QCOMPARE(w.txtSearchStr->currentText(), Q("stock"));
        QCOMPARE(w.List(1).RowCount(), 0);
        QVERIFY(!w.IsSearching());

        // Once idle, the same request searches the selection.
        w.SetOnYield({});
        const int tab = w.List(0).RowCount() > 0 ? 1 : 0;
        w.Search();
        WaitForSearch(w);
        QCOMPARE(w.CurrentTab(), tab);
        QCOMPARE(w.txtSearchStr->currentText(), Q("MsgBox"));
        QCOMPARE(w.List(tab).RowCount(), 1);
    }

    void searchWithoutACodePaneOnlyReloadsTheHistory() {
        Store(HistoryKey(0), "remembered");
        FakeHost host;
        frmAddIn w(&host);
        w.txtSearchStr->setEditText("typed");
        w.Search();
        WaitForSearch(w);
        QCOMPARE(Items(*w.txtSearchStr), QStringList({"remembered"}));
        QCOMPARE(w.txtSearchStr->currentText(), Q("typed"));
        QCOMPARE(w.StatusText(), QString());

        frmAddIn noHost(nullptr);
        noHost.Search();
        WaitForSearch(noHost);
        QCOMPARE(Items(*noHost.txtSearchStr), QStringList({"remembered"}));
    }
};

QTEST_MAIN(FrmAddInTest)
#include "frm_add_in_test.moc"
