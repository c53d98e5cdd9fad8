// Add-ins of the editor: the records each flavour reads, start-up loading through the
// platform loader, connection and disconnection at run time and at shutdown, a library
// that cannot load, and the Add-In Manager dialog.

#include <dlfcn.h>

#include <QCheckBox>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include "host/addin_loader.h"
#include "ide_test_support.h"
#include "platform/registry.h"
#include "vbide/addin_manager.h"
#include "vbide/addin_manager_dialog.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

constexpr const char* kProgId = "VbideTest.Connect";
constexpr const char* kBroken = "VbideTest.Broken";

// The test add-in's own log, read through a handle of our own so it survives the editor
// unloading the library.
class AddinLog {
  public:
    AddinLog() : handle_(dlopen(VBIDE_TEST_ADDIN, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle_) return;
        read_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "VbideTestAddinLog"));
        clear_ = reinterpret_cast<void (*)()>(dlsym(handle_, "VbideTestAddinClearLog"));
    }
    ~AddinLog() {
        if (handle_) dlclose(handle_);
    }
    bool ok() const { return read_ && clear_; }
    QString Take() {
        QString text = QString::fromUtf8(read_());
        clear_();
        return text;
    }

  private:
    void* handle_;
    const char* (*read_)() = nullptr;
    void (*clear_)() = nullptr;
};

void WriteRecord(Flavour flavour, const std::string& progId, int loadBehavior) {
    const std::string key = AddinsKey(flavour) + "\\" + progId + "\\";
    QVERIFY(platform::RegWrite(key + "FriendlyName", progId + " add-in").ok());
    QVERIFY(platform::RegWrite(key + "Description", "テスト用のアドイン").ok());
    QVERIFY(
        platform::RegWrite(key + "LoadBehavior", std::to_string(loadBehavior), "REG_DWORD").ok());
}

QStringList ToolBarCaptions(IdeWindow& w) {
    QStringList captions;
    for (QAction* a : qobject_cast<QToolBar*>(w.Bars().BarWidget("標準"))->actions())
        captions << a->text();
    return captions;
}

}  // namespace

class IdeAddinsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        root_ = std::make_unique<vbide_test::ScopedMachineRoot>();
        QVERIFY(platform::RegisterClass(kProgId, VBIDE_TEST_ADDIN).ok());
        QVERIFY(log_.ok());
        log_.Take();
    }
    void cleanup() { root_.reset(); }

    void startupLoadsWhatTheRecordsAsk() {
        WriteRecord(Flavour::VisualBasic6, kProgId, 1);
        {
            IdeWindow w(Flavour::VisualBasic6);
            const QStringList before = ToolBarCaptions(w);
            w.ConnectStartupAddins();
            QCOMPARE(log_.Take(), QString("connect 1;"));
            QVERIFY(w.Host().Manager().IsConnected(kProgId));
            // The button stands just before the bar's last control, with its red face.
            const QStringList after = ToolBarCaptions(w);
            QCOMPARE(after.size(), before.size() + 1);
            QCOMPARE(after[after.size() - 2], QString("Test Button"));
            QCOMPARE(after.last(), before.last());
            auto* bar = qobject_cast<QToolBar*>(w.Bars().BarWidget("標準"));
            QAction* button = bar->actions()[after.size() - 2];
            QCOMPARE(button->icon().pixmap(16, 16).toImage().pixelColor(4, 4), QColor(Qt::red));
            button->trigger();
            QCOMPARE(log_.Take(), QString("click;"));
        }
        // Closing the editor disconnects with ext_dm_HostShutdown; what the add-in left for
        // later deletion goes in the event loop, its code still mapped.
        QCOMPARE(log_.Take(), QString("disconnect 0;"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(log_.Take(), QString("leftover gone;"));

        // A record without the start-up bit is not loaded, nor is another flavour's.
        WriteRecord(Flavour::VisualBasic6, kProgId, 2);
        IdeWindow again(Flavour::VisualBasic6);
        again.ConnectStartupAddins();
        IdeWindow vbe(Flavour::OfficeEditor);
        vbe.ConnectStartupAddins();
        QCOMPARE(log_.Take(), QString());
    }

    void officeEditorReadsItsOwnRecords() {
        WriteRecord(Flavour::OfficeEditor, kProgId, 3);
        IdeWindow vb6(Flavour::VisualBasic6);
        vb6.ConnectStartupAddins();
        QCOMPARE(log_.Take(), QString());
        IdeWindow vbe(Flavour::OfficeEditor);
        vbe.ConnectStartupAddins();
        QCOMPARE(log_.Take(), QString("connect 1;"));
    }

    void brokenLibraryIsReportedOnceAndTheEditorGoesOn() {
        QVERIFY(platform::RegisterClass(kBroken, "/nonexistent/libbroken.so").ok());
        WriteRecord(Flavour::VisualBasic6, kBroken, 1);
        WriteRecord(Flavour::VisualBasic6, kProgId, 1);
        IdeWindow w(Flavour::VisualBasic6);
        w.ConnectStartupAddins();
        const QString message = w.statusBar()->currentMessage();
        QVERIFY2(message.startsWith(QString("Add-in not loaded: ") + kBroken + ": "),
                 qPrintable(message));
        QVERIFY(message.contains("/nonexistent/libbroken.so"));
        QVERIFY(!message.contains(kProgId));
        QCOMPARE(log_.Take(), QString("connect 1;"));
        QVERIFY(!w.Host().Manager().IsConnected(kBroken));
    }

    void addinsCollectionConnectsAndDisconnects() {
        WriteRecord(Flavour::VisualBasic6, kProgId, 0);
        IdeWindow w(Flavour::VisualBasic6);
        const QStringList plain = ToolBarCaptions(w);
        auto addins = w.Host().Addins().value();
        QVERIFY(!addins->Item("Nobody.Connect").ok());
        auto addin = addins->Item("vbidetest.connect").value();
        QCOMPARE(addin->Connect().value(), false);
        QCOMPARE(addin->Installed().value(), false);

        QVERIFY(addin->SetConnect(true).ok());
        QCOMPARE(log_.Take(), QString("connect 0;"));
        QCOMPARE(addin->Connect().value(), true);
        QVERIFY(addin->SetConnect(true).ok());  // already connected: nothing happens
        QCOMPARE(log_.Take(), QString());
        QCOMPARE(ToolBarCaptions(w).size(), plain.size() + 1);

        QVERIFY(addin->SetConnect(false).ok());
        QCOMPARE(log_.Take(), QString("disconnect 1;"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(log_.Take(), QString("leftover gone;"));
        QCOMPARE(ToolBarCaptions(w), plain);
        QCOMPARE(addin->Connect().value(), false);

        // Installed is the start-up bit of the record; other bits stay.
        WriteRecord(Flavour::VisualBasic6, kProgId, 2);
        QVERIFY(addin->SetInstalled(true).ok());
        QCOMPARE(QString::fromStdString(platform::RegRead(AddinsKey(Flavour::VisualBasic6) + "\\" +
                                                          kProgId + "\\LoadBehavior")
                                            .value()),
                 QString("3"));
        QCOMPARE(addin->Installed().value(), true);
        QVERIFY(addin->SetInstalled(false).ok());
        QCOMPARE(addin->Installed().value(), false);

        // A library that cannot load fails the connection and stays disconnected.
        QVERIFY(platform::RegisterClass(kBroken, "/nonexistent/libbroken.so").ok());
        WriteRecord(Flavour::VisualBasic6, kBroken, 0);
        auto broken = addins->Item(kBroken).value();
        QVERIFY(!broken->SetConnect(true).ok());
        QCOMPARE(broken->Connect().value(), false);
    }

    void anAddinDisconnectedFromItsOwnClickIsUnloadedAfterTheClick() {
        WriteRecord(Flavour::VisualBasic6, kProgId, 0);
        IdeWindow w(Flavour::VisualBasic6);
        auto addin = w.Host().Addins().value()->Item(kProgId).value();
        QVERIFY(addin->SetConnect(true).ok());
        QCOMPARE(log_.Take(), QString("connect 0;"));
        QPointer<QAction> button;
        for (QAction* action : w.Bars().BarWidget("標準")->actions()) {
            if (action->text() == "Test Button") button = action;
        }
        QVERIFY(button);

        // A second handler on the same button unloads the add-in, as its own command would.
        QString logInClick;
        bool buttonAliveInClick = false;
        host::Subscription unload = w.Bars().ControlOf(button)->click().Subscribe([&] {
            QVERIFY(addin->SetConnect(false).ok());
            logInClick = log_.Take();
            buttonAliveInClick = !button.isNull();
        });
        button->trigger();
        QCOMPARE(logInClick, QString("click;disconnect 1;"));
        QVERIFY(buttonAliveInClick);
        QVERIFY(!w.Host().Manager().IsConnected(kProgId));
        // Then, back in the event loop, the button and the add-in's leftovers go.
        QTRY_VERIFY(!button);
        QCOMPARE(log_.Take(), QString("leftover gone;"));
    }

    void addinManagerDialogAppliesTheBoxes() {
        WriteRecord(Flavour::VisualBasic6, kProgId, 0);
        IdeWindow w(Flavour::VisualBasic6);
        {
            AddinManagerDialog dialog(w.Host().Manager(), &w);
            QCOMPARE(dialog.List()->topLevelItemCount(), 1);
            QCOMPARE(dialog.List()->topLevelItem(0)->text(0), QString("VbideTest.Connect add-in"));
            QVERIFY(!dialog.LoadedBox()->isChecked());
            dialog.LoadedBox()->setChecked(true);
            dialog.StartupBox()->setChecked(true);
            QCOMPARE(dialog.List()->topLevelItem(0)->text(1), QString("Startup / Loaded"));
            QVERIFY(dialog.Apply().empty());
        }
        QCOMPARE(log_.Take(), QString("connect 0;"));
        QVERIFY(ReadAddinRecord(Flavour::VisualBasic6, kProgId).value().LoadAtStartup());

        AddinManagerDialog dialog(w.Host().Manager(), &w);
        QVERIFY(dialog.LoadedBox()->isChecked());
        dialog.LoadedBox()->setChecked(false);
        QVERIFY(dialog.Apply().empty());
        QCOMPARE(log_.Take(), QString("disconnect 1;"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(log_.Take(), QString("leftover gone;"));
        QVERIFY(ReadAddinRecord(Flavour::VisualBasic6, kProgId).value().LoadAtStartup());
    }

  private:
    std::unique_ptr<vbide_test::ScopedMachineRoot> root_;
    AddinLog log_;
};

QTEST_MAIN(IdeAddinsTest)
#include "ide_addins_qtest.moc"
