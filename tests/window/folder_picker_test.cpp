// The folder picker: the dialog's start folder and title, and the separator rule.

#include "window/folder_picker.h"

#include <QTest>

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
};

QTEST_MAIN(FolderPickerTest)
#include "folder_picker_test.moc"
