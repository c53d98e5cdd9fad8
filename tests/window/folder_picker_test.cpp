// The folder picker: the dialog's start folder and title, the separator rule, and the
// folder tree dialog itself (start folder, status line, OK and キャンセル).

#include "window/folder_picker.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "window/folder_tree_dialog.h"

using trawlex::window::BrowseForFolder;
using trawlex::window::FolderTreeDialog;

using trawlex::window::ApplyFolderChoice;
using trawlex::window::ChangeFolder;

class FolderPickerTest : public QObject {
    Q_OBJECT
  private slots:
    void separatorRule() {
        QCOMPARE(ApplyFolderChoice("/old/", "/home/user/src"), QStringLiteral("/home/user/src/"));
        QCOMPARE(ApplyFolderChoice("/old/", "/"), QStringLiteral("/"));  // the root keeps one
        QCOMPARE(ApplyFolderChoice("/old/", ""), QStringLiteral("/old/"));
        QCOMPARE(ApplyFolderChoice("/old", ""), QStringLiteral("/old/"));
        QCOMPARE(ApplyFolderChoice("", ""), QStringLiteral("/"));
        QCOMPARE(ApplyFolderChoice("/a/", "/b/ü 空白"), QStringLiteral("/b/ü 空白/"));
    }

    void dialogOpensOnTheCurrentFolder() {
        QString start;
        QString title;
        const auto pick = [&](QWidget*, const QString& s, const QString& t) {
            start = s;
            title = t;
            return QStringLiteral("/chosen");
        };
        QCOMPARE(ChangeFolder(nullptr, "/work/current/", pick), QStringLiteral("/chosen/"));
        QCOMPARE(start, QStringLiteral("/work/current/"));
        QCOMPARE(title, QStringLiteral("Please select a folder:"));
        const auto cancel = [](QWidget*, const QString&, const QString&) { return QString(); };
        QCOMPARE(ChangeFolder(nullptr, "/work/current", cancel), QStringLiteral("/work/current/"));
    }

    void treeOpensOnTheStartFolderAndShowsThePathUnderTheCursor() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("src/sub 空白"));
        QVERIFY(QDir(dir.path()).mkpath("docs"));
        QVERIFY(QDir(dir.path()).mkpath(".hidden"));
        const QString start = dir.filePath("src/sub 空白");

        FolderTreeDialog dialog(nullptr, start + "/", "Please select a folder:");
        QCOMPARE(dialog.findChild<QLabel*>("lblTitle")->text(),
                 QStringLiteral("Please select a folder:"));
        QCOMPARE(dialog.OkButton()->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("キャンセル"));
        QCOMPARE(dialog.CurrentPath(), start);
        QCOMPARE(dialog.StatusText(), start);

        // Moving the cursor up the tree shows each folder's path in the status line.
        QTreeWidgetItem* src = dialog.Tree()->currentItem()->parent();
        dialog.Tree()->setCurrentItem(src);
        QCOMPARE(dialog.StatusText(), dir.filePath("src"));
        QTreeWidgetItem* top = src->parent();
        QStringList children;
        for (int i = 0; i < top->childCount(); ++i) children << top->child(i)->text(0);
        QCOMPARE(children, QStringList({"docs", "src"}));  // hidden folders left out

        QVERIFY(dialog.SelectPath(dir.filePath("docs")));
        QCOMPARE(dialog.StatusText(), dir.filePath("docs"));
        QVERIFY(!dialog.SelectPath(dir.filePath("missing")));

        // The root stays "/".
        QVERIFY(dialog.SelectPath("/"));
        QCOMPARE(dialog.CurrentPath(), QStringLiteral("/"));
    }

    void aMissingStartFolderOpensOnTheNearestFolderAbove() {
        QTemporaryDir dir;
        FolderTreeDialog dialog(nullptr, dir.filePath("gone/away/"), "t");
        QCOMPARE(dialog.CurrentPath(), dir.path());
    }

    void okGivesTheFolderAndCancelNothing() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("a"));
        const auto answer = [&](bool ok) {
            QTimer::singleShot(0, [ok, &dir] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    auto* dialog = qobject_cast<FolderTreeDialog*>(w);
                    if (!dialog || !dialog->isVisible()) continue;
                    dialog->SelectPath(dir.filePath("a"));
                    (ok ? dialog->OkButton() : dialog->CancelButton())->click();
                }
            });
        };
        answer(true);
        QCOMPARE(BrowseForFolder(nullptr, dir.path() + "/", "t"), dir.filePath("a"));
        answer(false);
        QCOMPARE(BrowseForFolder(nullptr, dir.path() + "/", "t"), QString());
    }
};

QTEST_MAIN(FolderPickerTest)
#include "folder_picker_test.moc"
