// The search window's run as a job of slices driven from the event loop: what happens
// between two slices (timers, clicks, closing, the window going) and what the run makes
// of it.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <set>

#include "window/frm_add_in.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using namespace trawlex;
using namespace trawlex::window;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Five files (of three matching lines each, by default), and a window set to search them all, a
// slice ending before every line.
struct FolderFixture {
    QTemporaryDir dir;
    std::unique_ptr<frmAddIn> owned = std::make_unique<frmAddIn>(nullptr);
    QPointer<frmAddIn> window = owned.get();
    int yields = 0;

    explicit FolderFixture(const char* content = "abc hit\r\nx\r\nabc hit\r\nabc hit\r\n") {
        for (const char* name : {"f1.bas", "f2.bas", "f3.bas", "sub/f4.bas", "sub/f5.bas"}) {
            QDir().mkpath(QFileInfo(dir.filePath(name)).path());
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly)) file.write(content);
        }
        window->cmbSearchArea->setCurrentIndex(static_cast<int>(SearchArea::FilesAll));
        window->txtFilepath->setText(dir.path());
        window->chkSubFolders->setChecked(true);
        window->txtSearchStr->setEditText("hit");
        window->SetYieldIntervalMs(0);
        window->SetOnYield([this] { ++yields; });
    }

    // Posts `action` to the event loop once, when the run's hook sees `when` hold: it runs
    // between that slice and the next, as a click would.
    void Between(std::function<bool()> when, std::function<void()> action) {
        window->SetOnYield([this, when, action, posted = false]() mutable {
            ++yields;
            if (posted || !when()) return;
            posted = true;
            QTimer::singleShot(0, action);
        });
    }

    int Rows() const { return window->CurrentList().RowCount(); }

    // The files the rows of the current list name, relative to the folder.
    std::set<QString> Files() const {
        std::set<QString> files;
        for (int i = 0; i < Rows(); ++i) {
            files.insert(
                QDir(dir.path())
                    .relativeFilePath(QString::fromStdString(window->CurrentList().Row(i).name)));
        }
        return files;
    }
};

}  // namespace

class SearchJobTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void theStartReturnsAndTheEventLoopRunsBetweenSlices() {
        FolderFixture f;
        bool firedDuringRun = false;
        f.Between([&] { return f.yields == 2; },
                  [&] { firedDuringRun = f.window->IsSearching() && f.Rows() < 15; });
        int finished = 0;
        QObject::connect(f.window, &frmAddIn::SearchFinished, [&] { ++finished; });
        f.window->cmdSearchStart_Click();
        QVERIFY(f.window->IsSearching());
        QVERIFY(!f.window->CancelButton->isHidden());
        QCOMPARE(f.Rows(), 0);
        // A second start while it runs is refused.
        f.window->cmdSearchStart_Click();
        WaitForSearch(*f.window);
        QVERIFY(firedDuringRun);
        QCOMPARE(finished, 1);
        QCOMPARE(f.Rows(), 15);
        QCOMPARE(f.window->StatusText(), Q("15 件みつかりました"));
        QVERIFY(!f.window->IsSearching());
        QVERIFY(f.window->CancelButton->isHidden());
        QVERIFY(!QApplication::overrideCursor());
    }

    void aStopMidWalkReadsNoFurtherFile() {
        FolderFixture f;
        f.Between([&] { return f.Rows() == 4; }, [&] { f.window->CancelButton->click(); });
        RunSearch(*f.window);
        QCOMPARE(f.Files(), (std::set<QString>{"f1.bas", "f2.bas"}));
        QCOMPARE(f.Rows(), 4);  // the line after the click is not tested
        QCOMPARE(f.window->StatusText(), Q("4 件みつかりました"));
    }

    void closingMidSearchStopsItAndAddsNoRowAfterwards() {
        FolderFixture f;
        f.window->show();
        int rowsAtClose = -1;
        f.Between([&] { return f.Rows() == 7; },
                  [&] {
                      rowsAtClose = f.Rows();
                      f.window->close();
                  });
        RunSearch(*f.window);
        QCOMPARE(rowsAtClose, 7);
        QCOMPARE(f.Rows(), 7);
        QVERIFY(f.window->isHidden());
        QVERIFY(f.window->CancelButton->isHidden());
        QVERIFY(!QApplication::overrideCursor());
    }

    void theWindowGoingMidTextStopsTheRunAndCleansUp() {
        FolderFixture f;
        frmAddIn* window = f.owned.release();
        window->show();
        f.Between([&] { return f.Rows() == 4; }, [&] { window->Release(); });
        RunSearch(*window);
        QVERIFY(!f.window);
        QVERIFY(!QApplication::overrideCursor());
    }

    void aModeChosenBetweenSlicesAppliesFromTheNextLine() {
        // In the normal mode "a.c" is only itself; the regular expression finds "abc" too.
        FolderFixture f("a.c\r\nabc\r\na.c\r\nabc\r\n");
        f.window->txtSearchStr->setEditText("a.c");
        f.window->chkSubFolders->setChecked(false);
        f.Between([&] { return f.Rows() == 3; }, [&] { f.window->optSearch[2]->click(); });
        RunSearch(*f.window);
        QCOMPARE(f.Rows(), 2 + 4 + 4);
        // The click came after the first line of f2.bas: its second line is the first
        // searched with the regular expression.
        QCOMPARE(f.window->CurrentList().Row(3).line, 2);
        QCOMPARE(QFileInfo(QString::fromStdString(f.window->CurrentList().Row(3).name)).fileName(),
                 Q("f2.bas"));
        QCOMPARE(f.window->CurrentList().Row(1).line, 3);
    }

    void eachRowGoesToTheTabCurrentWhenFound() {
        FolderFixture f;
        f.Between([&] { return f.Rows() == 5; }, [&] { f.window->tabPane[3]->click(); });
        RunSearch(*f.window);
        QCOMPARE(f.window->List(0).RowCount(), 5);
        QCOMPARE(f.window->List(3).RowCount(), 10);
        QCOMPARE(f.window->StatusText(), Q("10 件みつかりました"));
    }
};

QTEST_MAIN(SearchJobTest)
#include "search_job_test.moc"
