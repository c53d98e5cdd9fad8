// Office documents in the search window's folder areas: their modules searched, shown as
// "document|module", a jump opening the module's text read-only in the external editor,
// an unreadable document named in the status.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "base/text_decode.h"
#include "office_fixtures.h"
#include "recording_program.h"
#include "tests/fake_host/fake_host.h"
#include "window/control_settings.h"
#include "window/document_module_file.h"
#include "window/frm_add_in.h"
#include "window/jump_to_result.h"
#include "window/result_list.h"
#include "window/search_wait.h"

using namespace trawlex;
using namespace trawlex::window;

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

office::test::FixtureProject Workbook() {
    office::test::FixtureProject project;
    project.codePage = 932;
    project.modules.push_back(
        {"Module1", office::test::ModuleSource(
                        "Module1", EncodeCp932("Option Explicit\r\n' 合計\r\nSub Total()\r\n"
                                               "    x = 1\r\nEnd Sub\r\n"))});
    return project;
}

}  // namespace

class OfficeDocumentsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void folderRunShowsModulesOfDocumentsAndNamesTheUnreadable() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("a.bas"), "Sub A()\r\n  x = 1\r\nEnd Sub\r\n");
        WriteFile(dir.filePath("Book1.xlsm"), office::test::MacroWorkbook(Workbook()));
        WriteFile(dir.filePath("Secret.xlsm"),
                  office::test::WriteCompoundFile({{"EncryptionInfo", std::string(64, '\x04')},
                                                   {"EncryptedPackage", std::string(900, 'z')}}));
        host::fake::FakeHost host;
        frmAddIn window(&host);
        window.SetYieldIntervalMs(0);
        window.txtFilepath->setText(dir.path() + "/");
        window.cmbSearchArea->setCurrentIndex(static_cast<int>(SearchArea::FilesAll));
        window.txtSearchStr->setEditText(QStringLiteral("x = 1"));
        RunSearch(window);

        ResultList& list = window.List(0);
        QCOMPARE(list.RowCount(), 2);
        QCOMPARE(list.CellText(0, 0), dir.filePath("Book1.xlsm") + "|Module1");
        QCOMPARE(list.CellText(0, 1), QStringLiteral("4"));  // the editor's line number
        QCOMPARE(list.CellText(0, 2), QStringLiteral("Total"));
        QCOMPARE(Q(list.Row(0).module), QStringLiteral("Module1"));
        QCOMPARE(Q(DocumentPathOf(list.Row(0))), dir.filePath("Book1.xlsm"));
        QCOMPARE(list.CellText(1, 0), dir.filePath("a.bas"));
        QVERIFY(list.Row(1).module.empty());

        const QString status = window.StatusText();
        QVERIFY2(status.startsWith(QStringLiteral("2 件みつかりました")), qPrintable(status));
        QVERIFY2(status.contains(dir.filePath("Secret.xlsm") + ": encrypted"), qPrintable(status));
    }

    void jumpOpensTheModuleTextReadOnlyAtTheLine() {
        QTemporaryDir dir;
        const QString document = dir.filePath("Book 1.xls");
        WriteFile(document, office::test::BinaryWorkbook(Workbook()));
        trawlex::testing::RecordingProgram editor(QStringLiteral("recordingeditor"));
        QVERIFY(WriteSetting(QStringLiteral("BootEditor"),
                             QStringLiteral("recordingeditor -n%l \"%p\"")));

        ResultList list(0);
        list.SetFirstHeader(QStringLiteral("ﾌｧｲﾙ名"));
        ResultRow row{document.toStdString() + "|Module1", 4, "Total", "Global", "x = 1"};
        row.module = "Module1";
        list.AddRow(row);
        list.SelectRow(0);
        std::string editorTemplate;
        JumpToResult(list, nullptr, editorTemplate, nullptr);

        QTRY_VERIFY(editor.Ran());  // the editor runs beside the event loop
        const QStringList args = editor.Arguments();
        QCOMPARE(args.size(), 2);
        QCOMPARE(args[0], QStringLiteral("-n4"));
        QVERIFY2(args[1].endsWith(QStringLiteral("/Module1.bas")), qPrintable(args[1]));
        QFile extracted(args[1]);
        QVERIFY(extracted.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(extracted.readAll()).split("\r\n");
        QCOMPARE(lines.value(3), QStringLiteral("    x = 1"));  // line 4 is the hit
        QCOMPARE(lines.value(1), QStringLiteral("' 合計"));
        QVERIFY(!(extracted.permissions() &
                  (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)));

        // A module the document no longer holds opens nothing.
        trawlex::testing::RecordingProgram editorAgain(QStringLiteral("recordingeditor"));
        list.Clear();
        row.module = "Module9";
        row.name = document.toStdString() + "|Module9";
        list.AddRow(row);
        list.SelectRow(0);
        JumpToResult(list, nullptr, editorTemplate, nullptr);
        QVERIFY(!editorAgain.Ran());
    }
};

QTEST_MAIN(OfficeDocumentsTest)
#include "office_documents_test.moc"
