// Search runs driven through the search window against the fake host: every area, the
// status texts, stopping, closing, tab and mode changes between the slices of a run.

#include "window/search_run.h"

#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

#include "platform/settings.h"
#include "tests/fake_host/fake_host.h"
#include "tests/search/unprivileged.h"
#include "window/control_settings.h"
#include "window/frm_add_in.h"
#include "window/frm_chk_ext.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using namespace trawlex;
using namespace trawlex::window;
using host::fake::FakeHost;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string Lines(int count, const char* text) {
    std::string module;
    for (int i = 0; i < count; ++i) module += std::string(text) + "\r\n";
    return module;
}

QString Setting(const QString& key) {
    return QString::fromStdString(trawlex::platform::GetSetting(kSettingsApp, kSettingsSection,
                                                                key.toStdString(), "<absent>"));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A window on a fake host with one project; the active pane shows `modMain`.
struct Fixture {
    FakeHost host;
    std::shared_ptr<host::fake::FakeProject> project = host.AddProject("Project1");
    std::unique_ptr<frmAddIn> window = std::make_unique<frmAddIn>(&host);
    int yields = 0;

    explicit Fixture(const std::string& mainText = "x = 1\r\n") {
        host.OpenPane(project->AddModule("modMain", mainText));
        window->SetYieldIntervalMs(0);
        window->SetOnYield([this] { ++yields; });
    }

    // Runs `action` once, at the given yield of the run.
    void AtYield(int at, std::function<void()> action) {
        window->SetOnYield([this, at, action] {
            if (++yields == at) action();
        });
    }

    // Lines are searched in stretches of `bytes` (up to a line end), the hook called before
    // each; the whole run is one slice.
    void InStretches(std::size_t bytes) {
        window->SetYieldIntervalMs(60 * 60 * 1000);
        window->SetScanStretchBytes(bytes);
    }

    void Start(const char* search, SearchArea area) {
        window->cmbSearchArea->setCurrentIndex(static_cast<int>(area));
        window->txtSearchStr->setEditText(Q(search));
        RunSearch(*window);
    }

    ResultList& List(int tab) { return window->List(tab); }

    void VerifyIdle() {
        QVERIFY(!window->cmdSearchStart->isHidden());
        QVERIFY(window->CancelButton->isHidden());
        QVERIFY(!window->IsSearching());
        QVERIFY(!QApplication::overrideCursor());
    }
};

}  // namespace

class SearchRunTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void historyThatCannotBeSavedIsReportedOnceAndTheStoreIsLeftAlone() {
        // A store that does not parse: nothing may be written over it.
        const QString hive = root_->filePath("HKEY_CURRENT_USER.reg");
        const QByteArray damaged("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\r\n\"x\"=dword:zz\r\n");
        WriteFile(hive, damaged);
        Fixture f("x = 1\r\n");
        f.window->show();
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 1);  // the search itself goes on
        QCOMPARE(f.window->txtSearchStr->currentText(), Q("x"));
        auto boxes = [] {
            QList<QMessageBox*> found;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box && box->objectName() == "SettingsSaveFailure" && box->isVisible())
                    found << box;
            }
            return found;
        };
        QCOMPARE(boxes().size(), 1);
        QVERIFY(boxes().front()->text().startsWith(Q("設定を保存できませんでした。\n")));
        QVERIFY2(boxes().front()->text().contains("HKEY_CURRENT_USER.reg"),
                 qPrintable(boxes().front()->text()));
        QCOMPARE(f.window->StatusText(), Q("1 件みつかりました"));

        // Shown once: the next search that cannot save shows nothing more.
        boxes().front()->close();
        f.Start("y", SearchArea::Module);
        QCOMPARE(boxes().size(), 0);
        QFile file(hive);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
    }

    void moduleRunFillsTheCurrentListAndCountsTheRows() {
        Fixture f("Sub A()\r\n  x = 1\r\nEnd Sub\r\ny = 2\r\nx = 3\r\n");
        f.Start("  x  ", SearchArea::Module);
        QCOMPARE(f.window->StatusText(), Q("2 件みつかりました"));
        QCOMPARE(f.List(0).RowCount(), 2);
        QCOMPARE(f.List(0).Row(0).procedure, std::string("A"));
        QCOMPARE(f.List(0).Row(1).line, 5);
        QCOMPARE(f.List(0).FirstHeader(), Q("ﾓｼﾞｭｰﾙ名"));
        QCOMPARE(Setting("History0"), Q("x"));  // trimmed
        f.VerifyIdle();

        // A second run on the same tab replaces the rows.
        f.Start("y", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 1);
        QCOMPARE(f.window->StatusText(), Q("1 件みつかりました"));
    }

    void runWithoutHitsReportsNothingFound() {
        Fixture f;
        f.Start("nowhere", SearchArea::Project);
        QCOMPARE(f.window->StatusText(), Q("見つかりませんでした"));
        f.VerifyIdle();
    }

    void blankSearchStringLeavesListAndStatusAlone() {
        Fixture f;
        f.Start("x", SearchArea::Module);
        f.Start("   ", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 1);
        QCOMPARE(f.window->StatusText(), Q("1 件みつかりました"));
        // "   " did not enter the history.
        QCOMPARE(Setting("History0"), Q("x"));
        QCOMPARE(Setting("History1"), Q("<absent>"));
        f.VerifyIdle();
    }

    void activeModuleAreasWithoutACodePaneEndCancelled() {
        FakeHost host;
        host.AddProject("Project1")->AddModule("modMain", "x\r\n");
        frmAddIn window(&host);
        window.txtSearchStr->setEditText("x");
        RunSearch(window);
        QCOMPARE(window.StatusText(), Q("キャンセルされました"));

        frmAddIn noHost(nullptr);
        noHost.txtSearchStr->setEditText("x");
        noHost.cmbSearchArea->setCurrentIndex(1);
        RunSearch(noHost);
        QCOMPARE(noHost.StatusText(), Q("キャンセルされました"));
        noHost.cmbSearchArea->setCurrentIndex(2);
        RunSearch(noHost);
        QCOMPARE(noHost.StatusText(), Q("見つかりませんでした"));
    }

    void hostFailureShowsTheErrorAndRecordsNoTabState() {
        Fixture f;
        f.window->tabPane_Click(8);
        f.host.FailMember("CodeModule.Lines", "module locked");
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.window->StatusText(), Q("エラーが発生しました:module locked"));
        QVERIFY(!f.window->TabStates().Find("txtSearchStr_8").has_value());
        f.VerifyIdle();
    }

    void stopButtonEndsTheScanAtTheNextLine() {
        Fixture f(Lines(1000, "x"));
        f.AtYield(5, [&] { QTimer::singleShot(0, f.window->CancelButton, &QPushButton::click); });
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 4);
        QCOMPARE(f.window->StatusText(), Q("4 件みつかりました"));
        QVERIFY(f.window->StopRequested());
        f.VerifyIdle();
    }

    void stopBeforeTheFirstHitReportsACountOfZero() {
        Fixture f(Lines(1000, "x"));
        QTimer::singleShot(0, f.window->CancelButton, &QPushButton::click);
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 0);
        QCOMPARE(f.window->StatusText(), Q("0 件みつかりました"));
    }

    void projectStoppedInTheThirdModuleKeepsItsRowsAndEndsCancelled() {
        Fixture f(Lines(3, "x"));
        f.project->AddModule("modB", Lines(3, "x"));
        f.project->AddModule("modC", Lines(3, "x"));
        f.project->AddModule("modD", Lines(3, "x"));
        // Each module yields once before each of its three lines: yield 8 is modC's second.
        f.AtYield(8, [&] { f.window->CancelButton->click(); });
        f.Start("x", SearchArea::Project);
        QCOMPARE(f.List(0).RowCount(), 7);
        QCOMPARE(f.List(0).Row(6).name, std::string("modC"));
        QCOMPARE(f.window->StatusText(), Q("キャンセルされました"));
        f.VerifyIdle();
    }

    void enterStartsARunButNotOneInsideARun() {
        Fixture f(Lines(5, "x"));
        f.window->cmbSearchArea->setCurrentIndex(1);
        f.window->txtSearchStr->setEditText("x");
        QTest::keyClick(f.window->txtSearchStr->lineEdit(), Qt::Key_Return);
        WaitForSearch(*f.window);
        QCOMPARE(f.List(0).RowCount(), 5);
        QCOMPARE(f.yields, 5);

        f.yields = 0;
        f.AtYield(2, [&] {
            QTest::keyClick(f.window->txtSearchStr->lineEdit(), Qt::Key_Return);
            QTest::keyClick(f.window->cmbSearchArea, Qt::Key_Enter);
        });
        QTest::keyClick(f.window->cmbSearchArea, Qt::Key_Return);
        WaitForSearch(*f.window);
        QCOMPARE(f.yields, 5);
        QCOMPARE(f.List(0).RowCount(), 5);
        QCOMPARE(f.window->StatusText(), Q("5 件みつかりました"));
        f.VerifyIdle();
    }

    void rowsGoToTheTabCurrentWhenTheyAreFound() {
        Fixture f(Lines(5, "x"));
        f.AtYield(3, [&] { f.window->tabPane[2]->click(); });
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.window->CurrentTab(), 2);
        QCOMPARE(f.List(0).RowCount(), 2);
        QCOMPARE(f.List(2).RowCount(), 3);
        QCOMPARE(f.List(2).Row(0).line, 3);
        QCOMPARE(f.window->StatusText(), Q("3 件みつかりました"));
    }

    void modeChangeAppliesFromTheNextLine() {
        Fixture f("a.c\r\nabc\r\nabc\r\n");
        f.AtYield(2, [&] { f.window->optSearch[2]->click(); });
        f.Start("a.c", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 3);

        // Binary flag: from the next line the comparison is exact.
        Fixture g("ABC\r\nABC\r\nabc\r\n");
        g.AtYield(2, [&] { g.window->chkCase->click(); });
        g.Start("abc", SearchArea::Module);
        QCOMPARE(g.List(0).RowCount(), 2);
        QCOMPARE(g.List(0).Row(1).line, 3);
    }

    // Three-byte lines and stretches of six bytes: stretch n, and yield n, start at line
    // 2n - 1.
    void inStretchesRowsGoToTheTabCurrentWhenTheirStretchStarts() {
        Fixture f(Lines(10, "x"));
        f.InStretches(6);
        f.AtYield(3, [&] { f.window->tabPane[2]->click(); });
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 4);
        QCOMPARE(f.List(2).RowCount(), 6);
        for (int row = 0; row < 6; ++row) QCOMPARE(f.List(2).Row(row).line, row + 5);
        QCOMPARE(f.window->StatusText(), Q("6 件みつかりました"));
        // The rows of the first tab were measured too: both lists fit the one module name.
        QCOMPARE(f.List(0).ColumnWidthTwips(0), f.List(2).ColumnWidthTwips(0));
        QVERIFY(f.List(0).ColumnWidthTwips(0) >= f.List(0).HeaderWidthTwips(0));
    }

    void inStretchesAStopEndsTheRunBeforeTheNextLine() {
        Fixture f(Lines(100, "x"));
        f.InStretches(6);
        f.AtYield(3, [&] { f.window->CancelButton->click(); });
        f.Start("x", SearchArea::Module);
        QCOMPARE(f.yields, 3);
        QCOMPARE(f.List(0).RowCount(), 4);
        QCOMPARE(f.List(0).Row(3).line, 4);
        QCOMPARE(f.window->StatusText(), Q("4 件みつかりました"));
        f.VerifyIdle();
    }

    void inStretchesAModeChangeAppliesFromTheNextStretch() {
        Fixture f("a.c\r\nabc\r\na.c\r\nabc\r\nabc\r\n");
        f.InStretches(10);  // two lines each
        f.AtYield(2, [&] { f.window->optSearch[2]->click(); });
        f.Start("a.c", SearchArea::Module);
        QCOMPARE(f.List(0).RowCount(), 4);
        QCOMPARE(f.List(0).Row(0).line, 1);
        QCOMPARE(f.List(0).Row(1).line, 3);
        QCOMPARE(f.List(0).Row(3).line, 5);
    }

    void folderRunsInStretchesFindTheRowsOfTheLineByLineRun() {
        QTemporaryDir dir;
        std::string module = "Attribute VB_Name = \"M\"\r\nDim x As Long\r\n";
        for (int i = 0; i < 40; ++i) {
            const std::string n = std::to_string(i);
            module += (i % 3 ? "Private Sub P" : "Public Function F") + n + "()\r\n";
            module += "  Dim v" + n + " As String ' dim\r\n";
            module += i % 3 ? "End Sub\r\n" : "End Function\r\n";
        }
        WriteFile(dir.filePath("a.bas"), QByteArray::fromStdString(module));
        // The same text in CP932 with Japanese comments, and in UTF-8.
        WriteFile(dir.filePath("sub/b.bas"),
                  QByteArray::fromStdString(module + "' \x95\x5C\x8E\xA6 dim\r\n"));
        WriteFile(dir.filePath("sub/c.cls"), QByteArray::fromStdString(module + "' 表示 dim\n"));
        const auto rows = [&](std::size_t stretch) {
            Fixture f;
            if (stretch > 0) f.InStretches(stretch);
            f.window->txtFilepath->setText(dir.path() + "/");
            f.window->chkSubFolders->setChecked(true);
            f.Start("dim", SearchArea::FilesAll);
            std::vector<std::string> found;
            for (int row = 0; row < f.List(0).RowCount(); ++row) {
                const ResultRow& r = f.List(0).Row(row);
                found.push_back(r.name + "|" + std::to_string(r.line) + "|" + r.procedure + "|" +
                                r.scope + "|" + r.content);
            }
            return found;
        };
        const std::vector<std::string> lineByLine = rows(0);
        QCOMPARE(lineByLine.size(), std::size_t{3 * 41 + 2});
        for (std::size_t stretch : {1, 100, 1000, 1 << 20}) {
            QVERIFY2(rows(stretch) == lineByLine, qPrintable(QString::number(stretch)));
        }
    }

    void escapeDuringARunHidesTheWindowAndStops() {
        Fixture f(Lines(100, "x"));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.AtYield(3, [&] { QTest::keyClick(f.window->txtSearchStr->lineEdit(), Qt::Key_Escape); });
        f.Start("x", SearchArea::Module);
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.List(0).RowCount(), 2);
        QCOMPARE(f.window->StatusText(), Q("2 件みつかりました"));
        f.VerifyIdle();
        // Shown again, the rows are still there.
        f.window->show();
        QCOMPARE(f.List(0).RowCount(), 2);
    }

    void minimizedDuringTheRunAndRestoredAfterIt() {
        QVERIFY(trawlex::platform::SaveSetting(kSettingsApp, kSettingsSection,
                                               "chkMinimizeWhileSeek", "True"));
        Fixture f(Lines(3, "x"));
        f.window->show();
        bool minimizedDuringRun = false;
        f.AtYield(1, [&] { minimizedDuringRun = f.window->isMinimized(); });
        f.Start("x", SearchArea::Module);
        QVERIFY(minimizedDuringRun);
        QVERIFY(!f.window->isMinimized());
        QVERIFY(f.window->isVisible());

        // Closed during the run, the window is not brought back by the restore.
        f.yields = 0;
        f.AtYield(1, [&] { f.window->close(); });
        f.Start("x", SearchArea::Module);
        QVERIFY(!f.window->isVisible());
        QVERIFY(!f.window->isMinimized());
        QCOMPARE(f.window->StatusText(), Q("0 件みつかりました"));
        f.VerifyIdle();
    }

    void allFilesRunWalksTheFolder() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("a.bas"), "Sub A()\r\n  x = 1\r\nEnd Sub\r\n");
        WriteFile(dir.filePath("sub/b.txt"), "x\r\n");
        Fixture f;
        f.window->txtFilepath->setText(dir.path() + "/");
        f.window->chkSubFolders->setChecked(true);
        f.Start("x", SearchArea::FilesAll);
        QCOMPARE(f.window->ExtList(), Q("*"));
        QCOMPARE(f.List(0).FirstHeader(), Q("ﾌｧｲﾙ名"));
        QCOMPARE(f.List(0).RowCount(), 2);
        QCOMPARE(QString::fromStdString(f.List(0).Row(0).name), dir.filePath("a.bas"));
        QCOMPARE(f.List(0).Row(0).procedure, std::string("A"));
        QCOMPARE(QString::fromStdString(f.List(0).Row(1).name), dir.filePath("sub/b.txt"));

        f.window->chkSubFolders->setChecked(false);
        f.Start("x", SearchArea::FilesAll);
        QCOMPARE(f.List(0).RowCount(), 1);
    }

    void folderRunsReadFilesInTheEncodingOfTheOptions() {
        QTemporaryDir dir;
        // "' ﾒｲ" in CP932: its two bytes also form one valid UTF-8 character.
        WriteFile(dir.filePath("a.bas"), "' \xD2\xB2\r\n");
        Fixture f;
        f.window->txtFilepath->setText(dir.path() + "/");
        const auto rowsWith = [&](const char* encoding) {
            if (encoding && !trawlex::window::WriteSetting(Q("FileEncoding"), Q(encoding))) {
                return -1;  // the setting could not be stored
            }
            f.Start("ﾒｲ", SearchArea::FilesAll);
            return f.List(0).RowCount();
        };
        QCOMPARE(rowsWith(nullptr), 1);  // absent: auto
        QCOMPARE(rowsWith("utf-8"), 0);
        QCOMPARE(rowsWith("cp932"), 1);
        QCOMPARE(rowsWith("auto"), 1);
    }

    void unreadableFilesAreCountedInTheSummary() {
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        WriteFile(dir.filePath("a.bas"), "x\r\n");
        WriteFile(dir.filePath("b.bas"), "x\r\n");
        WriteFile(dir.filePath("sub/c.bas"), "x\r\n");
        QFile::setPermissions(dir.filePath("a.bas"), {});
        // The child keeps its settings in the machine root too.
        ::chmod(root_->path().toUtf8().constData(), 0777);
        // Permission bits do not bind root: the run happens in a child that gives it up.
        const std::optional<std::string> status = test::RunWithoutRoot([&] {
            Fixture f;
            f.window->txtFilepath->setText(dir.path() + "/");
            f.window->chkSubFolders->setChecked(true);
            f.Start("x", SearchArea::FilesAll);
            return f.window->StatusText().toStdString();
        });
        if (!status) QSKIP("cannot run without root here");
        QCOMPARE(QString::fromStdString(*status),
                 Q("2 件みつかりました（読めなかったファイル 1 件）"));
    }

    void invalidRegexEndsWithTheErrorStatus() {
        Fixture f("x = 1\r\n");
        f.window->optSearch[2]->setChecked(true);
        f.Start("(x", SearchArea::Module);
        QCOMPARE(f.window->StatusText(),
                 Q("エラーが発生しました:missing closing parenthesis (at offset 2)"));
        QCOMPARE(f.List(0).RowCount(), 0);
        f.VerifyIdle();
    }

    void linesTooCostlyToTestAreCountedInTheSummary() {
        const std::string costly = std::string(40, 'a') + "!\r\n";
        Fixture f("ok\r\n" + costly + costly + "a!\r\n");
        f.window->optSearch[2]->setChecked(true);
        f.Start("^(?:(a|a)*!x|a+!)", SearchArea::Module);
        QCOMPARE(f.window->StatusText(), Q("1 件みつかりました（調べきれなかった行 2 件）"));
        QCOMPARE(SkippedNote(0, 0), std::string());
    }

    void missingFolderEndsWithNothingFound() {
        Fixture f;
        f.window->txtFilepath->setText(root_->filePath("no/such/folder/"));
        f.Start("x", SearchArea::FilesAll);
        QCOMPARE(f.window->StatusText(), Q("見つかりませんでした"));
        f.VerifyIdle();
    }

    void chosenExtensionsComeFromTheChooser() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("a.bas"), "x\r\n");
        WriteFile(dir.filePath("b.txt"), "x\r\n");
        QVERIFY(
            trawlex::platform::SaveSetting(kSettingsApp, kSettingsSection, "ExtType_txt", "False"));
        Fixture f;
        f.window->show();
        f.window->txtFilepath->setText(dir.path() + "/");
        bool hiddenWhileChoosing = false;
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<FrmChkExt*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            hiddenWhileChoosing = !f.window->isVisible();
            chooser->cmdFindStart_Click();
        });
        f.Start("x", SearchArea::FilesChosen);
        QVERIFY(hiddenWhileChoosing);
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.window->ExtList(), Q("*.bas"));
        QCOMPARE(f.List(0).RowCount(), 1);
        QCOMPARE(QString::fromStdString(f.List(0).Row(0).name), dir.filePath("a.bas"));

        // Closing the chooser without a choice cancels the run.
        QTimer::singleShot(0, [] {
            auto* chooser = qobject_cast<FrmChkExt*>(QApplication::activeModalWidget());
            QVERIFY(chooser);
            chooser->Command1_Click();
        });
        f.Start("x", SearchArea::FilesChosen);
        QCOMPARE(f.window->StatusText(), Q("キャンセルされました"));
        QCOMPARE(f.List(0).RowCount(), 0);
        f.VerifyIdle();
    }

    void hidemaruModeHandsTheSearchOver() {
        Fixture f;
        f.window->txtFilepath->setText(root_->path() + "/");
        f.window->cmbSearchArea->setCurrentIndex(static_cast<int>(SearchArea::FilesAll));
        f.window->optSearch[4]->setChecked(true);
        f.window->SetEditorTemplate("\"/bin/true\" /j%l \"%p\"");
        f.Start("x", SearchArea::FilesAll);
        QCOMPARE(f.window->StatusText(), Q("成功 - 秀丸起動"));
        QCOMPARE(f.List(0).RowCount(), 0);
        QCOMPARE(f.List(0).FirstHeader(), Q("ﾌｧｲﾙ名"));

        f.window->SetEditorTemplate("\"/no/such/hidemaru\" /j%l \"%p\"");
        f.Start("x", SearchArea::FilesAll);
        QCOMPARE(f.window->StatusText(), Q("失敗 - 秀丸起動"));
        f.VerifyIdle();
    }
};

QTEST_MAIN(SearchRunTest)
#include "search_run_test.moc"
