// Every caption of the search window is drawn whole at the design size: the design font
// maps to the installed Japanese fonts, controls whose text needs a few pixels more get
// them, and result headers are never narrower than their caption (sort mark included).

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "window/control_layout.h"
#include "window/frm_add_in.h"
#include "window/result_list.h"

using namespace trawlex::window;

class CaptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        qputenv("TRAWLEX_ROOT", root_.path().toUtf8());
    }

    void designFontsMapToTheInstalledIpaFonts() {
        const QFont gothic = DesignFont();
        QCOMPARE(gothic.pointSize(), 9);
        const QString drawn = QFontInfo(gothic).family();
        QVERIFY2(drawn.startsWith(QStringLiteral("IPA")) || drawn.contains(QStringLiteral("CJK")) ||
                     drawn.contains(QStringLiteral("VL")),
                 qPrintable(drawn));
        QVERIFY(!QFont::substitutes(QStringLiteral("MS Mincho")).isEmpty());
        QCOMPARE(QFont::substitutes(QStringLiteral("MS UI Gothic")).first().toLower(),
                 QStringLiteral("ipapgothic"));
    }

    void everyCaptionOfTheSearchWindowFits() {
        frmAddIn window(nullptr);
        window.show();
        QList<QWidget*> captioned = {
            window.Label1,         window.Label2,        window.Label3,
            window.chkCase,        window.chkSubFolders, window.cmdChangeFolder,
            window.cmdSearchStart, window.CancelButton,  window.cmbSearchArea};
        for (QRadioButton* option : window.optSearch) captioned << option;
        for (QPushButton* tab : window.tabPane) captioned << tab;
        for (QWidget* control : captioned) {
            QVERIFY2(CaptionFits(*control),
                     qPrintable(control->objectName() + " " + QString::number(control->width())));
        }
        // The widened area box does not run into the binary-mode box beside it, nor that
        // one into the mode options.
        QVERIFY(window.cmbSearchArea->geometry().right() < window.chkCase->geometry().left());
        QVERIFY(window.chkCase->geometry().right() < window.optSearch[0]->geometry().left());
    }

    void fittedColumnsKeepTheirHeaderWhole() {
        ResultList list(0);
        list.SetFirstHeader(QStringLiteral("ﾓｼﾞｭｰﾙ名"));
        list.AddRow({"A", 1, "P", "Public", "x"});
        list.FitColumnWidths();
        for (int c = 0; c < ResultTableModel::kColumnCount; ++c) {
            QVERIFY2(list.ColumnWidthTwips(c) >= list.HeaderWidthTwips(c),
                     qPrintable(QString::number(c)));
        }
        // Sorting puts a mark in front of the caption: the column grows with it.
        list.ColumnClick(0);
        QVERIFY(list.HeaderText(0).startsWith(QStringLiteral("▼")));
        QVERIFY(list.ColumnWidthTwips(0) >= list.HeaderWidthTwips(0));
    }

  private:
    QTemporaryDir root_;
};

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
