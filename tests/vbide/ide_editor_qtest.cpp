// The editor as the add-ins see it: projects, components, panes, selections in ANSI bytes,
// code modules that follow the editor text, saving, and the two flavours.

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "ide_test_support.h"
#include "vbide/ide_host.h"
#include "vbide/ide_icons.h"
#include "vbide/ide_window.h"
#include "vbide/ide_workspace.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

std::shared_ptr<host::VBComponent> Component(IdeHost& host, int index) {
    auto project = host.ActiveVBProject();
    if (!project || !*project) return nullptr;
    auto components = (*project)->VBComponents();
    if (!components) return nullptr;
    auto item = (*components)->Item(index);
    return item ? *item : nullptr;
}

std::shared_ptr<host::CodePane> ShowPane(IdeHost& host, int index) {
    auto component = Component(host, index);
    if (!component) return nullptr;
    auto pane = component->CodePane();
    if (!pane || !(*pane)->Show()) return nullptr;
    return *pane;
}

}  // namespace

class IdeEditorTest : public QObject {
    Q_OBJECT

  private slots:
    // The editor reads the add-in records: never the developer's own registry.
    void init() { root_ = std::make_unique<vbide_test::ScopedMachineRoot>(); }
    void cleanup() { root_.reset(); }

    void opensTheSampleProjectInProjectOrder() {
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(!*w.Host().ActiveVBProject());
        QVERIFY(w.OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp").ok());

        auto project = w.Host().ActiveVBProject();
        QVERIFY(project.ok() && *project);
        QCOMPARE(QString::fromStdString((*project)->Name().value()), QString("Sample"));
        auto components = (*project)->VBComponents();
        QCOMPARE(components.value()->Count().value(), 5);
        QStringList names;
        for (int i = 1; i <= 5; ++i)
            names << QString::fromStdString((*components)->Item(i).value()->Name().value());
        QCOMPARE(names, QStringList({"frmMain", "modMain", "modUtil", "clsItem", "clsInventory"}));
        QVERIFY(!(*components)->Item(0).ok());
        QVERIFY(!(*components)->Item(6).ok());

        // The code module shows the code without the designer block and attributes, and
        // the same module object comes back each time.
        auto form = Component(w.Host(), 1);
        auto module = form->CodeModule().value();
        QCOMPARE(module.get(), form->CodeModule().value().get());
        const std::string text = module->Lines(1, module->CountOfLines().value()).value();
        QVERIFY(text.find("VERSION") == std::string::npos);
        QVERIFY(text.find("Attribute VB_Name") == std::string::npos);
        QCOMPARE(QString::fromStdString(module->Name().value()), QString("frmMain"));

        // The explorer lists every module under its project.
        QCOMPARE(w.Explorer()->topLevelItemCount(), 1);
        int leaves = 0;
        for (QTreeWidgetItemIterator it(w.Explorer()); *it; ++it)
            if ((*it)->childCount() == 0) ++leaves;
        QCOMPARE(leaves, 5);
    }

    void panesFollowTheMdiArea() {
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(QString(TRAWLEX_SAMPLES_DIR) + "/Sample.vbp").ok());
        QVERIFY(!w.Host().ActiveCodePane().value());
        QCOMPARE(w.Host().CodePanes().value()->Count().value(), 0);

        auto util = ShowPane(w.Host(), 3);
        QVERIFY(util);
        QCOMPARE(w.Host().ActiveCodePane().value().get(), util.get());
        auto item = ShowPane(w.Host(), 4);
        QCOMPARE(w.Host().ActiveCodePane().value().get(), item.get());
        auto panes = w.Host().CodePanes().value();
        QCOMPARE(panes->Count().value(), 2);
        QCOMPARE(panes->Item(1).value().get(), util.get());
        QCOMPARE(panes->Item(2).value().get(), item.get());
        // The component hands out its open pane, not another one.
        QCOMPARE(Component(w.Host(), 3)->CodePane().value().get(), util.get());

        // Showing an open pane again activates it; its module is the component's.
        QVERIFY(util->Show().ok());
        QCOMPARE(w.Host().ActiveCodePane().value().get(), util.get());
        QCOMPARE(util->CodeModule().value().get(),
                 Component(w.Host(), 3)->CodeModule().value().get());
        QVERIFY(util->Window().value()->SetFocus().ok());

        // A closed pane leaves CodePanes and its members fail.
        auto* sub = w.MdiArea()->currentSubWindow();
        QVERIFY(sub);
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.Host().CodePanes().value()->Count().value(), 1);
        QVERIFY(!util->GetSelection().ok());
        QVERIFY(!util->Show().ok());
        QVERIFY(Component(w.Host(), 3)->CodePane().value().get() != util.get());
    }

    void selectionsCountAnsiBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("modJ.bas");
        vbide_test::WriteAll(path, QByteArray("Attribute VB_Name = \"modJ\"\r\n"
                                              "x = \"\x93\xFA\x96\x7B\x8C\xEA\" ' abc\r\n"
                                              "y = 1\r\n"));
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(path).ok());
        QCOMPARE(QString::fromStdString(w.Host().ActiveVBProject().value()->Name().value()),
                 QString("modJ"));
        auto pane = ShowPane(w.Host(), 1);
        QVERIFY(pane);
        auto* editor = w.Workspace().ActivePane()->Editor();

        // Columns 6..11 are the three double-byte characters.
        QVERIFY(pane->SetSelection({1, 6, 1, 12}).ok());
        QCOMPARE(editor->textCursor().selectedText(), QString::fromUtf8("日本語"));
        auto sel = pane->GetSelection().value();
        QCOMPARE(sel, (host::Selection{1, 6, 1, 12}));
        QCOMPARE(w.CaretLabel()->text(), QString("Ln 1, Col 12"));

        // A selection made in the editor reads back in bytes.
        QTextCursor cursor(editor->document()->findBlockByNumber(0));
        cursor.setPosition(cursor.position() + 7);                           // after 本
        cursor.setPosition(cursor.position() + 4, QTextCursor::KeepAnchor);  // 語" '
        editor->setTextCursor(cursor);
        QCOMPARE(pane->GetSelection().value(), (host::Selection{1, 10, 1, 15}));

        // Across lines, and the whole of line 2 as a jump selects it.
        QVERIFY(pane->SetSelection({1, 13, 2, 6}).ok());
        QCOMPARE(editor->textCursor().selectedText(), QString::fromUtf8(" ' abc\u2029y = 1"));
        QVERIFY(!pane->SetSelection({3, 1, 3, 1}).ok());
        QVERIFY(!pane->SetSelection({0, 1, 1, 1}).ok());
    }

    void codeModulesFollowTheEditor() {
        QTemporaryDir dir;
        const QString path = dir.filePath("m.bas");
        vbide_test::WriteAll(path,
                             "Attribute VB_Name = \"m\"\r\nOption Explicit\r\n\r\n"
                             "Sub A()\r\n    x = 1\r\nEnd Sub\r\n");
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(path).ok());
        auto pane = ShowPane(w.Host(), 1);
        auto module = pane->CodeModule().value();
        QCOMPARE(module->CountOfLines().value(), 5);
        QCOMPARE(module->CountOfDeclarationLines().value(), 1);
        QCOMPARE(QString::fromStdString(module->ProcOfLine(5).value().name), QString("A"));

        // Typing in the pane changes what the module reports.
        auto* editor = w.Workspace().ActivePane()->Editor();
        QTextCursor end(editor->document());
        end.movePosition(QTextCursor::End);
        editor->setTextCursor(end);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "Sub B()");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "End Sub");
        QCOMPARE(module->CountOfLines().value(), 7);
        QCOMPARE(QString::fromStdString(module->ProcOfLine(7).value().name), QString("B"));
        QCOMPARE(module->ProcStartLine("B", host::vbext_pk_Proc).value(), 6);

        // ReplaceLine shows in the pane; a text with a break becomes two lines.
        QVERIFY(module->ReplaceLine(5, "    x = 2\r\n    y = 3").ok());
        QCOMPARE(editor->document()->findBlockByNumber(4).text(), QString("    x = 2"));
        QCOMPARE(QString::fromStdString(module->Lines(5, 2).value()),
                 QString("    x = 2\r\n    y = 3"));
        QVERIFY(!module->ReplaceLine(9, "x").ok());
        QVERIFY(!module->ReplaceLine(0, "x").ok());
    }

    void aModuleWhoseOnlyLineIsBlankKeepsIt() {
        QTemporaryDir dir;
        const QString blank = dir.filePath("A.bas");
        const QString none = dir.filePath("B.bas");
        const QByteArray blankBytes("Attribute VB_Name = \"A\"\r\n\r\n");
        const QByteArray noneBytes("Attribute VB_Name = \"B\"\r\n");
        vbide_test::WriteAll(blank, blankBytes);
        vbide_test::WriteAll(none, noneBytes);
        vbide_test::WriteAll(dir.filePath("P.vbp"),
                             "Type=Exe\r\nModule=A; A.bas\r\nModule=B; B.bas\r\nName=\"P\"\r\n");
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(dir.filePath("P.vbp")).ok());
        auto withBlank = Component(w.Host(), 1)->CodeModule().value();
        auto without = Component(w.Host(), 2)->CodeModule().value();
        QCOMPARE(QString::fromStdString(withBlank->Name().value()), QString("A"));
        QCOMPARE(withBlank->CountOfLines().value(), 1);
        QCOMPARE(withBlank->Lines(1, 1).value(), std::string());
        QCOMPARE(without->CountOfLines().value(), 0);
        QVERIFY(!without->ReplaceLine(1, "x").ok());

        QVERIFY(withBlank->ReplaceLine(1, "' note").ok());
        QVERIFY(w.SaveAll().ok());
        QCOMPARE(vbide_test::ReadAll(blank), QByteArray("Attribute VB_Name = \"A\"\r\n' note\r\n"));
        // Blank again: the file is the one it was, byte for byte.
        QVERIFY(withBlank->ReplaceLine(1, "").ok());
        QCOMPARE(withBlank->CountOfLines().value(), 1);
        QVERIFY(w.SaveAll().ok());
        QCOMPARE(vbide_test::ReadAll(blank), blankBytes);
        QCOMPARE(vbide_test::ReadAll(none), noneBytes);
    }

    void codeWindowsAndTheAboutEntryAreTheEditorsOwn() {
        QTemporaryDir dir;
        const QString vbp = vbide_test::CopySample(dir.path());
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(vbp).ok());
        QVERIFY(ShowPane(w.Host(), 3));
        QMdiSubWindow* sub = w.MdiArea()->currentSubWindow();
        QVERIFY(sub);
        const QImage shown = sub->windowIcon().pixmap(16, 16).toImage();
        QCOMPARE(shown, CodeWindowIcon().pixmap(16, 16).toImage());
        // Not the toolkit's own logo, which a code window without an icon shows.
        QVERIFY(shown != sub->style()
                             ->standardIcon(QStyle::SP_TitleBarMenuButton, nullptr, sub)
                             .pixmap(16, 16)
                             .toImage());
        QCOMPARE(w.windowIcon().pixmap(16, 16).toImage(), EditorIcon().pixmap(16, 16).toImage());

        QMenu* help = nullptr;
        for (QAction* menu : w.menuBar()->actions()) {
            if (menu->menu() && menu->menu()->objectName() == "Help") help = menu->menu();
        }
        QVERIFY(help);
        QAction* about = help->actions().value(0);
        QVERIFY(about);
        QCOMPARE(about->text(), QString("&About vbide..."));
        QString text;
        QTimer::singleShot(0, &w, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            text = box->text();
            box->accept();
        });
        about->trigger();
        QVERIFY2(text.contains("vbide") && text.contains("not a product of Microsoft"),
                 qPrintable(text));
    }

    void savesOnlyWhatChangedInItsOwnEncoding() {
        QTemporaryDir dir;
        const QString vbp = vbide_test::CopySample(dir.path());
        const QByteArray util = vbide_test::ReadAll(dir.filePath("modUtil.bas"));
        const QByteArray form = vbide_test::ReadAll(dir.filePath("frmMain.frm"));
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(vbp).ok());
        QVERIFY(!w.HasUnsavedChanges());

        auto module = Component(w.Host(), 3)->CodeModule().value();
        const int last = module->CountOfLines().value();
        QVERIFY(module->ReplaceLine(last, module->Lines(last, 1).value() + " ' 変更").ok());
        QVERIFY(w.HasUnsavedChanges());
        QVERIFY(w.SaveAll().ok());
        QVERIFY(!w.HasUnsavedChanges());

        // The file is the original with the addition, in CP932, before the last line end.
        const QByteArray saved = vbide_test::ReadAll(dir.filePath("modUtil.bas"));
        QVERIFY(util.endsWith("\r\n"));
        QCOMPARE(saved, util.left(util.size() - 2) + QByteArray(" ' \x95\xCF\x8D\x58") + "\r\n");
        QCOMPARE(vbide_test::ReadAll(dir.filePath("frmMain.frm")), form);

        // A character CP932 cannot hold stops the save of that module.
        QVERIFY(module->ReplaceLine(1, "' €").ok());
        QVERIFY(!w.SaveAll().ok());
        QCOMPARE(vbide_test::ReadAll(dir.filePath("modUtil.bas")), saved);
        QVERIFY(w.SaveAll(true).ok());
        QVERIFY(vbide_test::ReadAll(dir.filePath("modUtil.bas")).contains("' ?\r\n"));
    }

    void flavoursDiffer() {
        IdeWindow vb6(Flavour::VisualBasic6);
        QCOMPARE(QString::fromStdString(vb6.Host().DefaultValue().value()),
                 QString("Microsoft Visual Basic"));
        QTemporaryDir dir;
        const QString vbp = vbide_test::CopySample(dir.path());
        QVERIFY(vb6.OpenPath(vbp).ok());
        QCOMPARE(QString::fromStdString(vb6.Host().LastUsedPath().value()),
                 QFileInfo(vbp).absolutePath());

        IdeWindow vbe(Flavour::OfficeEditor);
        QVERIFY(vbe.OpenPath(vbp).ok());
        QVERIFY(!vbe.Host().LastUsedPath().ok());
        QVERIFY(!vbe.Host().DefaultValue().ok());
        QVERIFY(vbe.windowTitle().contains("for Applications"));
    }

    void groupsFollowTheActivePane() {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("B");
        vbide_test::WriteAll(dir.filePath("a.bas"), "Attribute VB_Name = \"modA\"\r\nSub A()\r\n");
        vbide_test::WriteAll(dir.filePath("B/b.bas"),
                             "Attribute VB_Name = \"modB\"\r\nSub B()\r\n");
        vbide_test::WriteAll(dir.filePath("A.vbp"), "Module=modA; a.bas\r\nName=\"ProjA\"\r\n");
        vbide_test::WriteAll(dir.filePath("B/B.vbp"), "Module=modB; b.bas\r\nName=\"ProjB\"\r\n");
        vbide_test::WriteAll(dir.filePath("G.vbg"),
                             "VBGROUP 5.0\r\nProject=A.vbp\r\nStartupProject=B\\B.vbp\r\n");
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(w.OpenPath(dir.filePath("G.vbg")).ok());
        QCOMPARE(w.Explorer()->topLevelItemCount(), 2);
        auto name = [&] {
            return QString::fromStdString(w.Host().ActiveVBProject().value()->Name().value());
        };
        QCOMPARE(name(), QString("ProjB"));

        // Activating a module in the explorer opens its pane; its project becomes active.
        QTreeWidgetItem* modA = w.Explorer()->topLevelItem(0)->child(0)->child(0);
        QVERIFY(modA->text(0).startsWith("modA"));
        emit w.Explorer()->itemActivated(modA, 0);
        QCOMPARE(name(), QString("ProjA"));
        auto pane = w.Host().ActiveCodePane().value();
        QVERIFY(pane);
        QCOMPARE(QString::fromStdString(pane->CodeModule().value()->Name().value()),
                 QString("modA"));
        QVERIFY(w.windowTitle().startsWith("ProjA - "));
    }

    void badPathsAreReported() {
        IdeWindow w(Flavour::VisualBasic6);
        QVERIFY(!w.OpenPath("/nonexistent/x.vbp").ok());
        QVERIFY(!*w.Host().ActiveVBProject());
    }

  private:
    std::unique_ptr<vbide_test::ScopedMachineRoot> root_;
};

QTEST_MAIN(IdeEditorTest)
#include "ide_editor_qtest.moc"
