// The command faces, the product picture and the version dialog.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <set>

#include "../window/recording_program.h"
#include "addin/addin_version.h"
#include "addin/command_faces.h"
#include "addin/frm_about.h"
#include "addin/product_info.h"
#include "addin/product_picture.h"
#include "platform/shell.h"
#include "temp_root.h"
#include "window/twips.h"

using namespace trawlex;
using addin::frmAbout;

namespace {

struct Colour {
    int red, green, blue;
    bool operator==(const Colour&) const = default;
    bool operator<(const Colour& other) const {
        return std::tie(red, green, blue) < std::tie(other.red, other.green, other.blue);
    }
};

Colour At(const host::Bitmap& bitmap, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * bitmap.width + x) * 3;
    return {bitmap.rgb[i], bitmap.rgb[i + 1], bitmap.rgb[i + 2]};
}

constexpr Colour kSilver{192, 192, 192};

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

class AboutAndFacesTest : public QObject {
    Q_OBJECT
  private:
    testing::TempRoot root_;

  private slots:
    void facesAreSixteenSquareOnSilver() {
        for (int id : {addin::kProductFace, addin::kOptionsFace}) {
            const host::Bitmap face = addin::CommandFace(id);
            QCOMPARE(face.width, 16);
            QCOMPARE(face.height, 16);
            QVERIFY(face.Valid());
            for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}}) {
                QVERIFY2(At(face, x, y) == kSilver,
                         qPrintable(QString("corner %1,%2").arg(x).arg(y)));
            }
            // The lens is drawn: the middle of it is not background.
            QVERIFY(!(At(face, 6, 6) == kSilver));
        }
        QVERIFY(addin::CommandFace(100).Empty());
        QVERIFY(addin::CommandFace(103).Empty());
    }

    void theOptionsFaceAddsAWrenchAtTheLowerRight() {
        const host::Bitmap product = addin::CommandFace(addin::kProductFace);
        const host::Bitmap options = addin::CommandFace(addin::kOptionsFace);
        int changed = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (At(product, x, y) == At(options, x, y)) continue;
                ++changed;
                QVERIFY2(x >= 6 && y >= 6, qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(changed >= 12);
    }

    void productPictureHasTheDialogSize() {
        const host::Bitmap picture = addin::ProductPicture();
        QCOMPARE(picture.width, 110);
        QCOMPARE(picture.height, 84);
        QVERIFY(picture.Valid());
        std::set<Colour> colours;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) colours.insert(At(picture, x, y));
        }
        QVERIFY(colours.size() >= 5);
    }

    void dialogShowsTitleAndVersion() {
        frmAbout dialog;
        QCOMPARE(dialog.objectName(), QString("frmAbout"));
        QCOMPARE(dialog.windowTitle(), Q("Trawlex Plusのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(dialog.lblTitle->text(), QString("Trawlex Plus"));
        // major.minor.build, each in plain decimal: a minor of 0 shows as "0".
        QCOMPARE(dialog.lblVersion->text(), Q("ﾊﾞｰｼﾞｮﾝ ") + QString("%1.%2.%3")
                                                                .arg(addin::kVersionMajor)
                                                                .arg(addin::kVersionMinor)
                                                                .arg(addin::kVersionBuild));
        QVERIFY(dialog.lblVersion->text().startsWith(Q("ﾊﾞｰｼﾞｮﾝ 3.0.")));
        QCOMPARE(dialog.cmdGoHP->text(), Q("Trawlex Plus のﾎｰﾑﾍﾟｰｼﾞ"));
        QCOMPARE(dialog.cmdOK->text(), QString("OK"));
        QVERIFY(dialog.cmdGoHP->isDefault());
        QCOMPARE(dialog.picIcon->pixmap().size(), QSize(110, 84));

        const struct {
            QWidget* control;
            const char* name;
            QRect twips;
        } layout[] = {
            {dialog.picIcon, "picIcon", {0, 0, 1650, 1260}},
            {dialog.lblTitle, "lblTitle", {1800, 0, 3885, 360}},
            {dialog.lblVersion, "lblVersion", {1800, 360, 3885, 345}},
            {dialog.cmdGoHP, "cmdGoHP", {1680, 840, 2505, 345}},
            {dialog.cmdOK, "cmdOK", {4320, 840, 1335, 345}},
        };
        for (const auto& [control, name, twips] : layout) {
            QCOMPARE(control->objectName(), QString(name));
            QCOMPARE(control->geometry(), window::TwipsRect(dialog, twips.x(), twips.y(),
                                                            twips.width(), twips.height()));
            QVERIFY(dialog.rect().contains(control->geometry()));
        }
    }

    void enterOpensTheSupportPageAndTheDialogStays() {
        testing::RecordingProgram browser("xdg-open");
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(browser.Ran());
        QCOMPARE(browser.Arguments(), QStringList{addin::kSupportPageUrl});
        QVERIFY(dialog.isVisible());
        QVERIFY(QString(addin::kSupportPageUrl).endsWith("/tools/trawlex6/?version"));
    }

    void aBrowserThatFailsIsNotReported() {
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // A message box would be modal: this notes and closes one if the click opens it.
        bool reported = false;
        const auto clickAndWatch = [&] {
            QTimer::singleShot(0, &dialog, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    reported = true;
                    modal->close();
                }
            });
            dialog.cmdGoHP->click();
            QCoreApplication::processEvents();
        };

        // A browser that starts and fails.
        {
            testing::RecordingProgram browser("xdg-open", 3);
            clickAndWatch();
            QVERIFY(browser.Ran());
            QCOMPARE(browser.Arguments(), QStringList{addin::kSupportPageUrl});
            QVERIFY(!platform::ShellExecuteOpen(addin::kSupportPageUrl));  // it did fail
        }
        // No browser at all: none in the machine's system folder nor on the path.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", root_.path().toUtf8());
        clickAndWatch();
        qputenv("PATH", path);

        QVERIFY(!reported);
        QVERIFY(dialog.isVisible());
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY2(window == &dialog || !window->isVisible(), qPrintable(window->objectName()));
        }
    }

    void okAndEscapeCloseTheDialog() {
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.cmdOK->click();
        QVERIFY(!dialog.isVisible());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(AboutAndFacesTest)
#include "about_and_faces_test.moc"
