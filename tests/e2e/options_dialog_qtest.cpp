// The options dialog of the real add-in library in the Visual Basic 6.0 flavour of the
// editor: both options commands open it, and its two cleanup buttons empty the lines that
// hold only blanks in the editor's modules, which then save byte for byte otherwise.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "e2e_support.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

const QString kToolsItem = "&Trawlex Plusの ｵﾌﾟｼｮﾝ";

QDialog* OptionsDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmOption") && widget->isVisible())
            return qobject_cast<QDialog*>(widget);
    }
    return nullptr;
}

// Clicks a button of the dialog and returns the text of the message box it shows.
QString ClickAndReadReport(QDialog& dialog, const char* button) {
    QString text;
    std::function<void()> answer = [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                text = box->text();
                box->accept();
                return;
            }
        }
        QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(0, answer);
    dialog.findChild<QPushButton*>(button)->click();
    return text;
}

// Copies the sample and puts a line of blanks after "Option Explicit" in two modules.
QString DirtySample(const QString& dir) {
    for (const QString& name : QDir(TRAWLEX_SAMPLES_DIR).entryList(QDir::Files)) {
        QFile::copy(QString(TRAWLEX_SAMPLES_DIR) + "/" + name, dir + "/" + name);
    }
    for (const char* module : {"modMain.bas", "modUtil.bas"}) {
        QFile file(dir + "/" + module);
        if (!file.open(QIODevice::ReadOnly)) return {};
        QByteArray bytes = file.readAll();
        file.close();
        bytes.replace("Option Explicit\r\n", "Option Explicit\r\n   \r\n");
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
        file.write(bytes);
    }
    return dir + "/Sample.vbp";
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        machine_ = std::make_unique<e2e::ScopedMachine>();
        QVERIFY(e2e::RegisterWithRegsvr32());
    }
    void cleanup() { machine_.reset(); }

    void bothCommandsOpenTheDialogAndItsCleanupWorksOnTheEditorsModules() {
        QTemporaryDir dir;
        const QString vbp = DirtySample(dir.path());
        QVERIFY(!vbp.isEmpty());
        auto ide = std::make_unique<IdeWindow>(Flavour::VisualBasic6);
        QVERIFY(ide->OpenPath(vbp).ok());
        ide->show();
        ide->ConnectStartupAddins();

        QAction* button = e2e::BarAction(*ide, "標準", e2e::kOptionsCaption);
        QVERIFY(button);
        button->trigger();
        QPointer<QDialog> dialog = OptionsDialog();
        QVERIFY(dialog);
        QVERIFY(!dialog->isModal());
        QAction* item = e2e::BarAction(*ide, "Tools", kToolsItem);
        QVERIFY(item);
        item->trigger();
        QCOMPARE(OptionsDialog(), dialog.data());

        // Open panes only: modUtil is shown, modMain is not.
        QVERIFY(e2e::ShowModule(*ide, "modUtil"));
        QCOMPARE(ClickAndReadReport(*dialog, "cmdClSpcL"),
                 QStringLiteral("1行の無駄スペースを削除しました。"));
        // The whole project: modMain's line is left.
        QCOMPARE(ClickAndReadReport(*dialog, "cmdClSpc"),
                 QStringLiteral("1行の無駄スペースを削除しました。"));

        QVERIFY(ide->SaveAll().ok());
        // The files are the originals with the line of blanks now empty.
        for (const char* module : {"modMain.bas", "modUtil.bas"}) {
            QByteArray expected = Read(QString(TRAWLEX_SAMPLES_DIR) + "/" + module);
            expected.replace("Option Explicit\r\n", "Option Explicit\r\n\r\n");
            QCOMPARE(Read(dir.path() + "/" + module), expected);
        }
        dialog->reject();
        QTRY_VERIFY(dialog.isNull());
    }

  private:
    std::unique_ptr<e2e::ScopedMachine> machine_;
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_qtest.moc"
