// The extension chooser: the extension of a name, the scan of a folder tree (each
// extension once, case kept apart, folder names ignored) and the dialog's settings.

#include "window/frm_chk_ext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "window/control_settings.h"

using trawlex::window::FrmChkExt;
using trawlex::window::GetExt;
using trawlex::window::ScanExtensions;

namespace {

void Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList Items(const FrmChkExt& dialog) {
    QStringList texts;
    for (int i = 0; i < dialog.List()->count(); ++i) texts << dialog.List()->item(i)->text();
    return texts;
}

QStringList Ticked(const FrmChkExt& dialog) {
    QStringList texts;
    for (int i = 0; i < dialog.List()->count(); ++i) {
        if (dialog.List()->item(i)->isSelected()) texts << dialog.List()->item(i)->text();
    }
    return texts;
}

std::vector<std::string> Scan(const QTemporaryDir& dir) {
    return ScanExtensions((dir.path() + "/").toStdString());
}

}  // namespace

class FrmChkExtTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
    }

    void extensionOfAName() {
        QCOMPARE(GetExt("a.tar.gz"), std::string(".gz"));
        QCOMPARE(GetExt(".gitignore"), std::string(".gitignore"));
        QCOMPARE(GetExt("Module1.BAS"), std::string(".BAS"));
        QCOMPARE(GetExt("Makefile"), std::string());
        QCOMPARE(GetExt("name."), std::string());
        QCOMPARE(GetExt(""), std::string());
    }

    void eachExtensionOnceInFoundOrder() {
        QTemporaryDir dir;
        for (const char* name : {"b.bas", "a.bas", "c.frm", "README", "trail.", "sub/d.bas",
                                 "sub/e.cls", "sub/deeper/f.ctl"}) {
            Touch(dir.filePath(name));
        }
        QCOMPARE(Scan(dir), (std::vector<std::string>{".bas", ".frm", ".cls", ".ctl"}));
    }

    void folderNamesNeverHideAnExtension() {
        QTemporaryDir dir;
        Touch(dir.filePath("Form1.frm"));
        Touch(dir.filePath("backup.frm/old.txt"));
        Touch(dir.filePath("x.bas"));
        QDir().mkpath(dir.filePath("archive.bas"));
        QCOMPARE(Scan(dir), (std::vector<std::string>{".frm", ".bas", ".txt"}));
    }

    void letterCaseKeepsItemsApart() {
        QTemporaryDir dir;
        Touch(dir.filePath("a.bas"));
        Touch(dir.filePath("B.BAS"));
        Touch(dir.filePath("c.Bas"));
        QCOMPARE(Scan(dir), (std::vector<std::string>{".BAS", ".bas", ".Bas"}));
    }

    void manyFoldersGiveAShortList() {
        QTemporaryDir dir;
        for (int i = 0; i < 300; ++i) {
            const QString folder = QStringLiteral("p%1/src/").arg(i, 3, 10, QLatin1Char('0'));
            Touch(dir.filePath(folder + "Module.bas"));
            Touch(dir.filePath(folder + "Form.frm"));
        }
        Touch(dir.filePath("p150/src/Class.cls"));
        QCOMPARE(Scan(dir), (std::vector<std::string>{".frm", ".bas", ".cls"}));
    }

    void missingOrLinkedFoldersDoNotBreakTheScan() {
        QCOMPARE(ScanExtensions("/nonexistent/trawlex/folder/"), std::vector<std::string>{});
        QTemporaryDir dir;
        Touch(dir.filePath("a/x.bas"));
        QVERIFY(QFile::link(dir.path(), dir.filePath("a/loop")));  // a cycle back to the top
        QCOMPARE(Scan(dir), std::vector<std::string>{".bas"});
    }

    void dialogTicksFromSettingsAndStoresTheChoice() {
        QTemporaryDir dir;
        for (const char* name : {"a.bas", "b.cls", "c.frm", "D.BAS"}) Touch(dir.filePath(name));
        QVERIFY(
            trawlex::window::WriteSetting(QStringLiteral("ExtType_frm"), QStringLiteral("False"))
                .ok());
        QVERIFY(trawlex::window::WriteSetting(QStringLiteral("ExtType_cls"), QStringLiteral("true"))
                    .ok());

        FrmChkExt dialog(dir.path() + "/");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("拡張子選択"));
        QCOMPARE(dialog.List()->objectName(), QStringLiteral("lstExt"));
        QCOMPARE(Items(dialog), QStringList({"*.BAS", "*.bas", "*.cls", "*.frm"}));
        // Only exactly "True" ticks; a missing key counts as "True".
        QCOMPARE(Ticked(dialog), QStringList({"*.BAS", "*.bas"}));

        dialog.List()->item(0)->setSelected(false);
        dialog.List()->item(2)->setSelected(true);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdFindStart"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ExtList(), QStringLiteral("*.bas;*.cls"));
        using trawlex::window::ReadSetting;
        // "*.BAS" is stored before "*.bas"; where the store ignores the key's case the
        // later one wins, so the ticked "*.bas" is what is remembered either way.
        QCOMPARE(ReadSetting(QStringLiteral("ExtType_bas")), QStringLiteral("True"));
        QCOMPARE(ReadSetting(QStringLiteral("ExtType_cls")), QStringLiteral("True"));
        QCOMPARE(ReadSetting(QStringLiteral("ExtType_frm")), QStringLiteral("False"));

        FrmChkExt again(dir.path() + "/");
        QVERIFY(Ticked(again).contains(QStringLiteral("*.bas")));
        QVERIFY(Ticked(again).contains(QStringLiteral("*.cls")));
        QVERIFY(!Ticked(again).contains(QStringLiteral("*.frm")));
    }

    void selectAllClearAndAbort() {
        QTemporaryDir dir;
        for (const char* name : {"a.txt", "b.log"}) Touch(dir.filePath(name));
        FrmChkExt dialog(dir.path() + "/");
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdSelectAll"))->text(),
                 QStringLiteral("全選択"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdRemoveAll"))->text(),
                 QStringLiteral("選択解除"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdFindStart"))->text(),
                 QStringLiteral("検索開始"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
                 QStringLiteral("中止"));
        dialog.cmdRemoveAll_Click();
        QVERIFY(Ticked(dialog).isEmpty());
        dialog.cmdSelectAll_Click();
        QCOMPARE(Ticked(dialog), QStringList({"*.txt", "*.log"}));
        dialog.cmdRemoveAll_Click();
        dialog.cmdFindStart_Click();  // nothing ticked: an empty list
        QCOMPARE(dialog.ExtList(), QString());

        // Choose shows the dialog modally; aborting gives an empty list.
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* shown = qobject_cast<FrmChkExt*>(w); shown && shown->isVisible()) {
                    shown->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                }
            }
        });
        QCOMPARE(FrmChkExt::Choose(dir.path() + "/"), QString());
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* shown = qobject_cast<FrmChkExt*>(w); shown && shown->isVisible()) {
                    shown->cmdSelectAll_Click();
                    shown->cmdFindStart_Click();
                }
            }
        });
        QCOMPARE(FrmChkExt::Choose(dir.path() + "/"), QStringLiteral("*.txt;*.log"));
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(FrmChkExtTest)
#include "frm_chk_ext_test.moc"
