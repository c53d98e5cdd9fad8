// The control walk by name prefix and tag, and the per-tab memory of control values.

#include "window/control_settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "platform/settings.h"

using namespace trawlex::window;

namespace {

QString Stored(const char* key) {
    return QString::fromStdString(
        trawlex::platform::GetSetting(kSettingsApp, kSettingsSection, key, "<absent>"));
}

void Store(const char* key, const char* value) {
    QVERIFY(trawlex::platform::SaveSetting(kSettingsApp, kSettingsSection, key, value));
}

// A small window with one control of each persisted kind and a few that are not persisted.
struct TestWindow {
    QWidget window;
    QCheckBox* chkA = new QCheckBox(&window);
    QComboBox* cmbB = new QComboBox(&window);
    QLineEdit* txtC = new QLineEdit(&window);
    QComboBox* txtFontName = new QComboBox(&window);  // a combo persisted by its text
    QCheckBox* chkTagged = new QCheckBox(&window);
    QRadioButton* optX[3] = {new QRadioButton(&window), new QRadioButton(&window),
                             new QRadioButton(&window)};
    QRadioButton* optLoose = new QRadioButton(&window);  // no index: not part of an array
    QComboBox* cboIgnored = new QComboBox(&window);
    QLineEdit* lblIgnored = new QLineEdit(&window);

    TestWindow() {
        chkA->setObjectName("chkA");
        cmbB->setObjectName("cmbB");
        cmbB->addItems({"zero", "one", "two"});
        txtC->setObjectName("txtC");
        txtFontName->setObjectName("txtFontName");
        txtFontName->setEditable(true);
        chkTagged->setObjectName("chkMinimizeWhileSeek");
        chkTagged->setProperty("tag", "MinimizeWhileSeek");
        auto* group = new QButtonGroup(&window);
        for (int i = 0; i < 3; ++i) {
            optX[i]->setObjectName("optX");
            optX[i]->setProperty("index", i);
            group->addButton(optX[i], i);
        }
        optX[0]->setChecked(true);
        optLoose->setObjectName("optLoose");
        cboIgnored->setObjectName("cboIgnored");
        cboIgnored->addItems({"a", "b"});
        lblIgnored->setObjectName("lblIgnored");
    }
};

}  // namespace

class ControlSettingsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> root_;

  private slots:
    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        qputenv("TRAWLEX_ROOT", root_->path().toUtf8());
    }

    void parsesSettingTexts() {
        QCOMPARE(ParseSettingBool("True"), std::optional<bool>(true));
        QCOMPARE(ParseSettingBool("false"), std::optional<bool>(false));
        QCOMPARE(ParseSettingBool("-1"), std::optional<bool>(true));
        QCOMPARE(ParseSettingBool("0"), std::optional<bool>(false));
        QCOMPARE(ParseSettingBool("yes"), std::nullopt);
        QCOMPARE(ParseSettingBool(""), std::nullopt);
        QCOMPARE(ParseSettingInt(" 12 "), std::optional<int>(12));
        QCOMPARE(ParseSettingInt("-1"), std::optional<int>(-1));
        QCOMPARE(ParseSettingInt("1.5"), std::nullopt);
        QCOMPARE(ParseSettingInt("abc"), std::nullopt);
    }

    void persistedControlsFollowThePrefixInControlOrder() {
        TestWindow w;
        QStringList names;
        for (QWidget* control : PersistedControls(w.window)) names << control->objectName();
        QCOMPARE(names, QStringList({"chkA", "cmbB", "txtC", "txtFontName", "chkMinimizeWhileSeek",
                                     "optX", "optX", "optX", "optLoose"}));
    }

    void saveWritesEachControlUnderItsKey() {
        TestWindow w;
        w.chkA->setChecked(true);
        w.cmbB->setCurrentIndex(2);
        w.txtC->setText("検索 text");
        w.txtFontName->setEditText("Noto Sans");
        w.chkTagged->setChecked(true);
        w.optX[1]->setChecked(true);
        QVERIFY(SaveControlSettings(w.window).ok());

        QCOMPARE(Stored("chkA"), QString("1"));
        QCOMPARE(Stored("cmbB"), QString("2"));
        QCOMPARE(Stored("txtC"), QString("検索 text"));
        QCOMPARE(Stored("txtFontName"), QString("Noto Sans"));
        // The tag, not the name, is the key.
        QCOMPARE(Stored("MinimizeWhileSeek"), QString("1"));
        QCOMPARE(Stored("chkMinimizeWhileSeek"), QString("<absent>"));
        QCOMPARE(Stored("optX(0)"), QString("False"));
        QCOMPARE(Stored("optX(1)"), QString("True"));
        QCOMPARE(Stored("optX(2)"), QString("False"));
        // Not persisted: an option button outside an array, "cbo" and other prefixes.
        QCOMPARE(Stored("optLoose"), QString("<absent>"));
        QCOMPARE(Stored("optLoose()"), QString("<absent>"));
        QCOMPARE(Stored("cboIgnored"), QString("<absent>"));
        QCOMPARE(Stored("lblIgnored"), QString("<absent>"));
    }

    void saveThenLoadRoundTrips() {
        {
            TestWindow w;
            w.chkA->setCheckState(Qt::Checked);
            w.cmbB->setCurrentIndex(1);
            w.txtC->setText("abc");
            w.optX[2]->setChecked(true);
            QVERIFY(SaveControlSettings(w.window).ok());
        }
        TestWindow w;
        LoadControlSettings(w.window);
        QCOMPARE(w.chkA->checkState(), Qt::Checked);
        QCOMPARE(w.cmbB->currentIndex(), 1);
        QCOMPARE(w.txtC->text(), QString("abc"));
        QVERIFY(w.optX[2]->isChecked());
        QVERIFY(!w.optX[0]->isChecked());
    }

    void loadWithoutKeysAppliesTheDefaults() {
        TestWindow w;
        w.chkA->setChecked(true);
        w.cmbB->setCurrentIndex(2);
        w.txtC->setText("typed");
        w.optX[1]->setChecked(true);
        LoadControlSettings(w.window);
        QVERIFY(w.chkA->isChecked());         // check box keeps its state
        QCOMPARE(w.cmbB->currentIndex(), 0);  // combo goes to its first item
        QCOMPARE(w.txtC->text(), QString());  // text is emptied
        QVERIFY(w.optX[1]->isChecked());      // option keeps its state
    }

    void loadLeavesControlsWhoseValueDoesNotFit() {
        Store("chkA", "5");
        Store("cmbB", "abc");
        Store("optX(1)", "maybe");
        TestWindow w;
        w.chkA->setChecked(true);
        w.cmbB->setCurrentIndex(2);
        LoadControlSettings(w.window);
        QVERIFY(w.chkA->isChecked());
        QCOMPARE(w.cmbB->currentIndex(), 2);
        QVERIFY(w.optX[0]->isChecked());

        Store("cmbB", "7");  // out of the list's range
        LoadControlSettings(w.window);
        QCOMPARE(w.cmbB->currentIndex(), 2);
        Store("cmbB", "-1");  // nothing selected is a valid index
        LoadControlSettings(w.window);
        QCOMPARE(w.cmbB->currentIndex(), -1);
    }

    void loadReadsCheckValuesAndOptionTexts() {
        Store("chkA", "2");
        Store("MinimizeWhileSeek", "1");
        Store("optX(0)", "False");
        Store("optX(2)", "True");
        TestWindow w;
        LoadControlSettings(w.window);
        QCOMPARE(w.chkA->checkState(), Qt::PartiallyChecked);
        QVERIFY(w.chkTagged->isChecked());
        QVERIFY(w.optX[2]->isChecked());
        QVERIFY(!w.optX[0]->isChecked());
        QVERIFY(!w.optX[1]->isChecked());

        // "False" on the selected element leaves the array without a selection.
        Store("optX(2)", "False");
        LoadControlSettings(w.window);
        QVERIFY(!w.optX[0]->isChecked() && !w.optX[1]->isChecked() && !w.optX[2]->isChecked());
    }

    void loadingAComboRunsItsChangeHandler() {
        Store("cmbB", "1");
        TestWindow w;
        int changes = 0;
        QObject::connect(w.cmbB, &QComboBox::currentIndexChanged, [&] { ++changes; });
        LoadControlSettings(w.window);
        QCOMPARE(changes, 1);
    }

    void tabStateKeysUseNameTabAndIndex() {
        TestWindow w;
        TabStateStore store;
        w.chkA->setChecked(true);
        w.cmbB->setCurrentIndex(2);
        w.txtC->setText("tab three");
        w.optX[2]->setChecked(true);
        SaveTabState(w.window, 3, store);
        QCOMPARE(store.Find("chkA_3").value_or(QVariant()).toInt(), 1);
        QCOMPARE(store.Find("cmbB_3").value_or(QVariant()).toInt(), 2);
        QCOMPARE(store.Find("txtC_3").value_or(QVariant()).toString(), QString("tab three"));
        QCOMPARE(store.Find("optX_3_2").value_or(QVariant()).toBool(), true);
        QCOMPARE(store.Find("optX_3_0").value_or(QVariant()).toBool(), false);
        // The tag is not consulted in memory.
        QVERIFY(store.Find("chkMinimizeWhileSeek_3").has_value());
        QVERIFY(!store.Find("MinimizeWhileSeek_3").has_value());
        QVERIFY(!store.Find("cboIgnored_3").has_value());
    }

    void tabStateSavedTwiceKeepsTheLaterValues() {
        TestWindow w;
        TabStateStore store;
        w.txtC->setText("first");
        SaveTabState(w.window, 1, store);
        const qsizetype entries = store.Size();
        w.txtC->setText("second");
        SaveTabState(w.window, 1, store);
        QCOMPARE(store.Size(), entries);
        QCOMPARE(store.Find("txtC_1").value_or(QVariant()).toString(), QString("second"));
    }

    void tabStateRestoresOneTabWithoutTouchingAnother() {
        TestWindow w;
        TabStateStore store;
        w.chkA->setChecked(true);
        w.cmbB->setCurrentIndex(1);
        w.txtC->setText("tab two");
        w.optX[1]->setChecked(true);
        SaveTabState(w.window, 2, store);

        w.chkA->setChecked(false);
        w.cmbB->setCurrentIndex(2);
        w.txtC->setText("changed");
        w.optX[0]->setChecked(true);
        LoadTabState(w.window, 2, store);
        QVERIFY(w.chkA->isChecked());
        QCOMPARE(w.cmbB->currentIndex(), 1);
        QCOMPARE(w.txtC->text(), QString("tab two"));
        QVERIFY(w.optX[1]->isChecked());

        // A tab never saved: combos to their first item, texts emptied, the rest kept.
        LoadTabState(w.window, 5, store);
        QVERIFY(w.chkA->isChecked());
        QCOMPARE(w.cmbB->currentIndex(), 0);
        QCOMPARE(w.txtC->text(), QString());
        QVERIFY(w.optX[1]->isChecked());
    }
};

QTEST_MAIN(ControlSettingsTest)
#include "control_settings_test.moc"
