// The space cleanup in the stand-in editor on real module files: the code panes show the
// emptied lines and saving writes the files back byte for byte apart from those lines.

#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>
#include <memory>

#include "host/space_cleanup.h"
#include "ide_test_support.h"
#include "vbide/ide_code_module.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

std::shared_ptr<host::VBComponent> Component(IdeHost& host, const std::string& name) {
    auto project = host.ActiveVBProject();
    if (!project || !*project) return nullptr;
    auto components = (*project)->VBComponents();
    if (!components) return nullptr;
    for (int i = 1; i <= (*components)->Count().value_or(0); ++i) {
        auto item = (*components)->Item(i);
        if (item && (*item)->Name().value_or("") == name) return *item;
    }
    return nullptr;
}

// Puts space-only lines (and lines that only look blank) into a copied module file; returns
// what the file must hold after the cleanup and a save.
QByteArray Dirty(const QString& path, const QByteArray& anchor, const QByteArray& blankLine) {
    const QByteArray original = vbide_test::ReadAll(path);
    // After the blank line: a tab line and the anchor again with trailing blanks, both kept.
    QByteArray dirty = original;
    dirty.replace(anchor + "\r\n", anchor + "\r\n" + blankLine + "\r\n\t\r\n" + anchor + "   \r\n");
    vbide_test::WriteAll(path, dirty);
    QByteArray expected = original;
    expected.replace(anchor + "\r\n", anchor + "\r\n\r\n\t\r\n" + anchor + "   \r\n");
    return expected;
}

}  // namespace

class IdeSpaceCleanupTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { root_ = std::make_unique<vbide_test::ScopedMachineRoot>(); }
    void cleanup() { root_.reset(); }

    void wholeProjectEmptiesSpaceOnlyLinesAndSavesTheRestUnchanged() {
        QTemporaryDir dir;
        const QString vbp = vbide_test::CopySample(dir.path());
        const QByteArray utilAfter = Dirty(dir.filePath("modUtil.bas"), "Option Explicit", "    ");
        const QByteArray mainAfter = Dirty(dir.filePath("modMain.bas"), "Option Explicit", " ");
        const QByteArray form = vbide_test::ReadAll(dir.filePath("frmMain.frm"));

        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(vbp).ok());
        const host::CleanupOutcome outcome = host::ClearSpaceInProject(w.Host());
        QVERIFY2(!outcome.stopped, outcome.reason.c_str());
        QCOMPARE(outcome.counts.emptied, 2);
        QCOMPARE(outcome.counts.refused, 0);

        auto util = std::dynamic_pointer_cast<IdeCodeModule>(
            Component(w.Host(), "modUtil")->CodeModule().value());
        QVERIFY(util);
        QVERIFY(util->Document()->toPlainText().contains("Option Explicit\n\n\t\n"));

        QVERIFY(w.SaveAll().ok());
        QCOMPARE(vbide_test::ReadAll(dir.filePath("modUtil.bas")), utilAfter);
        QCOMPARE(vbide_test::ReadAll(dir.filePath("modMain.bas")), mainAfter);
        QCOMPARE(vbide_test::ReadAll(dir.filePath("frmMain.frm")), form);
    }

    void openPanesOnlyTouchesTheModulesShown() {
        QTemporaryDir dir;
        const QString vbp = vbide_test::CopySample(dir.path());
        const QByteArray utilAfter = Dirty(dir.filePath("modUtil.bas"), "Option Explicit", "  ");
        Dirty(dir.filePath("modMain.bas"), "Option Explicit", "  ");
        const QByteArray mainDirty = vbide_test::ReadAll(dir.filePath("modMain.bas"));

        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(vbp).ok());
        // No pane open: nothing changes.
        QCOMPARE(host::ClearSpaceInOpenPanes(w.Host()).counts.emptied, 0);

        auto pane = Component(w.Host(), "modUtil")->CodePane();
        QVERIFY(pane.ok() && (*pane)->Show().ok());
        const host::CleanupOutcome outcome = host::ClearSpaceInOpenPanes(w.Host());
        QVERIFY2(!outcome.stopped, outcome.reason.c_str());
        QCOMPARE(outcome.counts.emptied, 1);

        QVERIFY(w.SaveAll().ok());
        QCOMPARE(vbide_test::ReadAll(dir.filePath("modUtil.bas")), utilAfter);
        QCOMPARE(vbide_test::ReadAll(dir.filePath("modMain.bas")), mainDirty);
    }

  private:
    std::unique_ptr<vbide_test::ScopedMachineRoot> root_;
};

QTEST_MAIN(IdeSpaceCleanupTest)
#include "ide_space_cleanup_qtest.moc"
