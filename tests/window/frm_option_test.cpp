// The options dialog against the fake host: what the first opening shows, what OK and
// Cancel store, the editor presets, the export combo, the space cleanup's reports, a
// settings store that refuses the write, and the search window taking the new values.

#include "window/frm_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "platform/machine.h"
#include "platform/settings.h"
#include "recording_program.h"
#include "tests/fake_host/fake_host.h"
#include "window/control_layout.h"
#include "window/control_settings.h"
#include "window/file_encoding_setting.h"
#include "window/frm_add_in.h"
#include "window/message_box.h"
#include "window/result_list.h"
#include "window/twips.h"

using namespace trawlex;
using namespace trawlex::window;
using host::fake::FakeHost;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString Stored(const char* key) {
    return QString::fromStdString(
        platform::GetSetting(kSettingsApp, kSettingsSection, key, "<absent>"));
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
    return items;
}

// Records the message boxes instead of showing them.
class RecordedBoxes {
  public:
    RecordedBoxes() {
        previous_ = SetMessageBoxDisplay(
            [this](QWidget*, const MessageBoxRequest& request) { boxes.push_back(request); });
    }
    ~RecordedBoxes() { SetMessageBoxDisplay(previous_); }
    std::vector<MessageBoxRequest> boxes;

  private:
    MessageBoxDisplay previous_;
};

// The search window and the links the add-in gives the dialog.
struct Links {
    FakeHost host;
    std::unique_ptr<frmAddIn> search;
    int searchWindowMade = 0;
    std::vector<std::string> editorTemplates;

    OptionLinks Make() {
        OptionLinks links;
        links.host = &host;
        links.existingSearchWindow = [this] { return search.get(); };
        links.searchWindow = [this]() -> frmAddIn& {
            if (!search) {
                ++searchWindowMade;
                search = std::make_unique<frmAddIn>(&host);
            }
            return *search;
        };
        links.editorTemplateChanged = [this](const std::string& t) {
            editorTemplates.push_back(t);
        };
        return links;
    }
};

}  // namespace

class FrmOptionTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void firstOpeningShowsTheDesignAndDefaults() {
        Links links;
        frmOption dialog(links.Make());
        QCOMPARE(dialog.windowTitle(), Q("Trawlex Plus の ｵﾌﾟｼｮﾝ"));
        QCOMPARE(dialog.size(), QSize(TwipsToPixelsX(dialog, 8265), TwipsToPixelsY(dialog, 2985)));
        QVERIFY(!dialog.isModal());
        QCOMPARE(dialog.Label1->text(), Q("外部テキストエディタ"));
        QCOMPARE(dialog.Label3->text(), Q("新規タブの検索エリア"));
        QCOMPARE(dialog.Frame3->title(), Q("検索結果のフォント"));
        QCOMPARE(dialog.Frame1->title(), Q("追加ツール"));
        QCOMPARE(dialog.Label2->text(), Q("検索結果をExcel出力"));
        QCOMPARE(dialog.cmdClSpc->text(), Q("無駄スペースの削除"));
        QCOMPARE(dialog.cmdClSpcL->text(), Q("無駄スペースの削除\n（選択中のコード）"));
        QCOMPARE(dialog.cmdOK->text(), Q("&OK"));
        QCOMPARE(dialog.cmdClose->text(), Q("ｷｬﾝｾﾙ(&C)"));
        QCOMPARE(Items(*dialog.cmbTextEditor),
                 QStringList({Q("（エディタを選択）"), Q("秀丸を検索"), Q("JMEditorを検索"),
                              Q("Terapadを検索")}));
        QCOMPARE(Items(*dialog.cmbScope),
                 QStringList({Q("常にLocal"), Q("常にPrivate"), Q("常にPublic"),
                              Q("LocalかPrivate"), Q("ファイル→Public"), Q("前回検索を継承")}));
        QCOMPARE(Items(*dialog.cboExportExcel).first(), Q("(リスト選択)"));
        QCOMPARE(Items(*dialog.cboExportExcel).last(), Q("検索９"));
        QCOMPARE(dialog.cboExportExcel->count(), 10);
        QCOMPARE(dialog.txtFontSize->count(), 17);
        QCOMPARE(dialog.txtFontName->count(), QFontDatabase::families().size());
        QCOMPARE(Items(*dialog.txtFileEncoding), FileEncodingNames());

        // Edge cases of a first opening.
        QCOMPARE(dialog.txtEditor->text(), QString());
        QCOMPARE(dialog.cmbScope->currentIndex(), 0);
        QVERIFY(dialog.optFont[0]->isChecked());
        QVERIFY(!dialog.optFont[1]->isChecked() && !dialog.optFont[2]->isChecked());
        QCOMPARE(dialog.txtFontName->currentIndex(), -1);
        QCOMPARE(dialog.txtFontSize->currentText(), QString());
        QCOMPARE(dialog.cmbTextEditor->currentIndex(), 0);
        QCOMPARE(dialog.cboExportExcel->currentIndex(), 0);
        QCOMPARE(dialog.txtFileEncoding->currentText(), Q("auto"));
        QVERIFY(dialog.chkMinimizeWhileSeek->isHidden());
        QCOMPARE(links.searchWindowMade, 0);

        // Tab order starts with OK, Cancel, the preset combo.
        QCOMPARE(dialog.cmdOK->nextInFocusChain(), dialog.cmdClose);
        QCOMPARE(dialog.cmdClose->nextInFocusChain(), dialog.cmbTextEditor);
    }

    void cancelStoresNothingAndOkStoresEveryControl() {
        Links links;
        const auto fill = [](frmOption& dialog) {
            dialog.txtEditor->setText(Q("gedit +%l \"%p\""));
            dialog.cmbScope->setCurrentIndex(4);
            dialog.optFont[2]->setChecked(true);
            dialog.txtFontName->setCurrentIndex(0);
            dialog.txtFontSize->setEditText(Q("14"));
            dialog.chkMinimizeWhileSeek->setChecked(true);
            dialog.txtFileEncoding->setCurrentIndex(1);
        };
        {
            QPointer<frmOption> dialog = new frmOption(links.Make());
            dialog->show();
            fill(*dialog);
            dialog->cmdClose->click();
            QTRY_VERIFY(dialog.isNull());  // closing deletes it
        }
        for (const char* key :
             {"BootEditor", "NewTabScope", "FontName", "FontSize", "optFont(0)", "optFont(2)",
              "MinimizeWhileSeek", "cmbTextEditor", "FileEncoding"}) {
            QCOMPARE(Stored(key), Q("<absent>"));
        }

        QString fontName;
        {
            QPointer<frmOption> dialog = new frmOption(links.Make());
            dialog->show();
            fill(*dialog);
            fontName = dialog->txtFontName->currentText();
            dialog->cmdOK->click();
            QTRY_VERIFY(dialog.isNull());
        }
        QCOMPARE(Stored("BootEditor"), Q("gedit +%l \"%p\""));
        QCOMPARE(Stored("NewTabScope"), Q("4"));
        QCOMPARE(Stored("optFont(0)"), Q("False"));
        QCOMPARE(Stored("optFont(1)"), Q("False"));
        QCOMPARE(Stored("optFont(2)"), Q("True"));
        QCOMPARE(Stored("FontName"), fontName);
        QCOMPARE(Stored("FontSize"), Q("14"));
        QCOMPARE(Stored("MinimizeWhileSeek"), Q("1"));
        QCOMPARE(Stored("cmbTextEditor"), Q("0"));
        QCOMPARE(Stored("FileEncoding"), Q("cp932"));
        QCOMPARE(ReadFileEncodingSetting(), trawlex::EncodingChoice::Cp932);
        QCOMPARE(links.editorTemplates, std::vector<std::string>{"gedit +%l \"%p\""});
        // OK with the search window closed does not open it.
        QCOMPARE(links.searchWindowMade, 0);

        // The next opening shows what was stored.
        frmOption again(links.Make());
        QCOMPARE(again.txtEditor->text(), Q("gedit +%l \"%p\""));
        QCOMPARE(again.cmbScope->currentIndex(), 4);
        QVERIFY(again.optFont[2]->isChecked());
        QCOMPARE(again.txtFontName->currentText(), fontName);
        QCOMPARE(again.txtFontSize->currentText(), Q("14"));
        QVERIFY(again.chkMinimizeWhileSeek->isChecked());
        QCOMPARE(again.txtFileEncoding->currentText(), Q("cp932"));
    }

    void okAppliesTheFontAndTheNewTabAreaToTheOpenSearchWindowAtOnce() {
        Links links;
        links.search = std::make_unique<frmAddIn>(&links.host);
        links.search->show();
        const QString family = QFontDatabase::families().value(0);
        QPointer<frmOption> dialog = new frmOption(links.Make());
        dialog->show();
        dialog->optFont[2]->setChecked(true);
        dialog->txtFontName->setCurrentText(family);
        dialog->txtFontSize->setEditText(Q("15"));
        dialog->cmbScope->setCurrentIndex(2);  // 常にPublic
        dialog->cmdOK->click();
        QTRY_VERIFY(dialog.isNull());
        for (int i = 0; i < kTabCount; ++i) {
            QCOMPARE(links.search->List(i).font().pointSize(), 15);
            QCOMPARE(links.search->List(i).font().family(), family);
        }
        // An empty tab chosen now takes the new area.
        links.search->tabPane_Click(1);
        QCOMPARE(links.search->cmbSearchArea->currentIndex(), 2);
    }

    void refusedSettingsWriteIsReportedAndTheHiveStays() {
        // A damaged hive: the store refuses every write.
        const QString hive = root_->filePath("HKEY_CURRENT_USER.reg");
        const QByteArray damaged =
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\x\r\n\"a";
        {
            QFile file(hive);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        RecordedBoxes boxes;
        Links links;
        QPointer<frmOption> dialog = new frmOption(links.Make());
        dialog->show();
        dialog->txtEditor->setText(Q("gedit"));
        dialog->cmdOK->click();
        QCOMPARE(boxes.boxes.size(), std::size_t{1});
        QVERIFY(boxes.boxes[0].text.startsWith(Q("設定を保存できませんでした。\r\n")));
        QVERIFY(boxes.boxes[0].text.size() > Q("設定を保存できませんでした。\r\n").size());
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
        QVERIFY(!dialog.isNull() && dialog->isVisible());  // the user's values stay on screen
        QVERIFY(links.editorTemplates.empty());
        QFile file(hive);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), damaged);
        delete dialog.data();
    }

    void presetsWriteTheQuotedProgramAndTheirTail() {
        Links links;
        frmOption dialog(links.Make());
        QString title, filter, proposed;
        QString answer = Q("/opt/Hidemaru/hidemaru.exe");
        dialog.SetProgramChooser(
            [&](QWidget*, const QString& t, const QString& f, const QString& p) {
                title = t;
                filter = f;
                proposed = p;
                return answer;
            });
        const QString programFiles = QString::fromStdString(platform::ProgramFilesDir());

        dialog.cmbTextEditor->setCurrentIndex(1);
        QCOMPARE(title, Q("テキストエディタの選択"));
        QCOMPARE(filter, Q("テキストエディタ(*.exe)"));
        QCOMPARE(proposed, programFiles + "/Hidemaru/hidemaru.exe");
        QCOMPARE(dialog.txtEditor->text(), Q("\"/opt/Hidemaru/hidemaru.exe\" /j%l \"%p\""));
        QCOMPARE(dialog.cmbTextEditor->currentIndex(), 0);

        answer = Q("/usr/bin/jmeditor");
        dialog.cmbTextEditor->setCurrentIndex(2);
        QCOMPARE(proposed, programFiles);
        QCOMPARE(dialog.txtEditor->text(), Q("\"/usr/bin/jmeditor\" \"%p\" /%l"));

        answer = Q("/p/TeraPad.exe");
        dialog.cmbTextEditor->setCurrentIndex(3);
        QCOMPARE(proposed, programFiles + "/TeraPad/TeraPad.exe");
        QCOMPARE(dialog.txtEditor->text(), Q("\"/p/TeraPad.exe\" /jl=%l \"%p\""));

        // A cancelled dialog leaves the field as it was.
        answer.clear();
        dialog.cmbTextEditor->setCurrentIndex(1);
        QCOMPARE(dialog.txtEditor->text(), Q("\"/p/TeraPad.exe\" /jl=%l \"%p\""));
    }

    void programDialogListsExecutablesWithoutExe() {
        QTemporaryDir dir;
        const auto make = [&](const char* name, bool executable) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        };
        make("gedit", true);
        make("notes.txt", false);
        make("Hidemaru.EXE", false);
        QVERIFY(IsProgramCandidate(QFileInfo(dir.filePath("gedit"))));
        QVERIFY(IsProgramCandidate(QFileInfo(dir.filePath("Hidemaru.EXE"))));
        QVERIFY(!IsProgramCandidate(QFileInfo(dir.filePath("notes.txt"))));
        QVERIFY(IsProgramCandidate(QFileInfo(dir.path())));
    }

    void exportComboExportsTheChosenTab() {
        RecordedBoxes boxes;
        trawlex::testing::RecordingProgram opener(QStringLiteral("xdg-open"));
        Links links;
        frmOption dialog(links.Make());
        dialog.cboExportExcel->setCurrentIndex(0);
        QVERIFY(!opener.Ran());
        QCOMPARE(links.searchWindowMade, 0);

        // The search window is made for the export when it does not exist yet.
        links.Make().searchWindow().List(2).AddRow({"modA", 3, "Main", "Public", "x = 1"});
        dialog.cboExportExcel->setCurrentIndex(3);
        QTRY_VERIFY(opener.Ran());
        const QStringList args = opener.Arguments();
        QCOMPARE(args.size(), 1);
        QVERIFY(args[0].endsWith(Q("検索３.xlsx")));
        QVERIFY(QFile::exists(args[0]));
        QCOMPARE(dialog.cboExportExcel->currentIndex(), 0);
        QVERIFY(boxes.boxes.empty());
        QDir(QFileInfo(args[0]).path()).removeRecursively();
    }

    void cleanupReportsBothCountsInItsTexts() {
        RecordedBoxes boxes;
        Links links;
        auto project = links.host.AddProject("Project1");
        auto a = project->AddModule("modA", "Sub A()\r\n    \r\n  x = 1   \r\n\t\r\nEnd Sub");
        auto b = project->AddModule("modB", "  \r\n' note\r\n \r\n");
        frmOption dialog(links.Make());

        dialog.cmdClSpcL->click();  // no pane open
        QCOMPARE(boxes.boxes.back().text, Q("0行の無駄スペースを削除しました。"));
        QCOMPARE(boxes.boxes.back().title, Q("処理完了"));
        QCOMPARE(boxes.boxes.back().icon, QMessageBox::NoIcon);

        b->module()->SetReadOnly(true);
        dialog.cmdClSpc->click();
        QCOMPARE(boxes.boxes.back().text, Q("1行の無駄スペースを削除しました。\r\n\r\n"
                                            "2行の無駄スペース削除に失敗しました。\r\n"
                                            "ファイルが書込み禁止になっているのかもしれません。"));
        QCOMPARE(boxes.boxes.back().title, Q("処理完了（クリーンアップに失敗した箇所があります）"));
        QCOMPARE(a->module()->text(), "Sub A()\r\n\r\n  x = 1   \r\n\t\r\nEnd Sub");

        b->module()->SetReadOnly(false);
        links.host.OpenPane(b);
        dialog.cmdClSpcL->click();
        QCOMPARE(boxes.boxes.back().text, Q("2行の無駄スペースを削除しました。"));
        QCOMPARE(b->module()->text(), "\r\n' note\r\n");
        QVERIFY(!QGuiApplication::overrideCursor());  // the busy cursor is gone

        // A host failure midway is reported with what was done before it.
        project->AddModule("modC", " ");
        project->AddComponentWithoutCode("Res");
        project->AddModule("modD", " ");
        dialog.cmdClSpc->click();
        QCOMPARE(boxes.boxes.back().title, Q("処理中断"));
        QVERIFY(boxes.boxes.back().text.startsWith(Q("1行の無駄スペースを削除しました。")));
        QCOMPARE(boxes.boxes.back().icon, QMessageBox::Warning);
    }

    void captionsFitTheirControls() {
        InstallDesignFontSubstitutes();
        Links links;
        frmOption dialog(links.Make());
        dialog.show();
        QWidget* captioned[] = {dialog.Label1,        dialog.Label2,        dialog.Label3,
                                dialog.Label4,        dialog.optFont[0],    dialog.optFont[1],
                                dialog.optFont[2],    dialog.cmdClSpc,      dialog.cmdClSpcL,
                                dialog.cmdOK,         dialog.cmdClose,      dialog.cmbScope,
                                dialog.cmbTextEditor, dialog.cboExportExcel};
        for (QWidget* control : captioned) {
            QVERIFY2(CaptionFits(*control), qPrintable(control->objectName()));
            // Nothing grew past the dialog's edge.
            QVERIFY2(control->mapTo(&dialog, QPoint(control->width(), 0)).x() <= dialog.width(),
                     qPrintable(control->objectName()));
        }
        // The controls of a frame stand below its caption and inside its edge.
        for (QGroupBox* frame : {dialog.Frame1, dialog.Frame3}) {
            for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                QVERIFY2(child->y() >= frame->contentsRect().top(),
                         qPrintable(child->objectName()));
                QVERIFY2(child->geometry().bottom() < frame->height(),
                         qPrintable(child->objectName()));
            }
        }
    }

  private:
    std::unique_ptr<QTemporaryDir> root_;
};

QTEST_MAIN(FrmOptionTest)
#include "frm_option_test.moc"
