// Command bars of the editor: the bars the add-ins look for, buttons placed before a
// position, captions, faces from the clipboard picture, deletion and click events.

#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "ide_test_support.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_host.h"
#include "vbide/ide_window.h"

using namespace trawlex;
using namespace trawlex::vbide;

namespace {

std::shared_ptr<host::CommandBarControls> ControlsOf(IdeHost& host, const char* bar) {
    auto bars = host.CommandBars();
    if (!bars) return nullptr;
    auto found = (*bars)->Item(bar);
    if (!found) return nullptr;
    auto controls = (*found)->Controls();
    return controls ? *controls : nullptr;
}

host::Bitmap Solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    host::Bitmap bitmap{w, h, {}};
    for (int i = 0; i < w * h; ++i) bitmap.rgb.insert(bitmap.rgb.end(), {r, g, b});
    return bitmap;
}

}  // namespace

class IdeCommandBarsTest : public QObject {
    Q_OBJECT

  private slots:
    // The editor reads the add-in records: never the developer's own registry.
    void init() { root_ = std::make_unique<vbide_test::ScopedMachineRoot>(); }
    void cleanup() { root_.reset(); }

    void namedBarsAreTheWidgets() {
        IdeWindow w(Flavour::VisualBasic6);
        for (const char* name : {"標準", "Add-Ins", "Tools", "Help"}) {
            QVERIFY2(ControlsOf(w.Host(), name), name);
            QVERIFY(w.Bars().BarWidget(name));
        }
        QVERIFY(qobject_cast<QToolBar*>(w.Bars().BarWidget("標準")));
        QVERIFY(qobject_cast<QMenu*>(w.Bars().BarWidget("Add-Ins")));
        QVERIFY(!w.Host().CommandBars().value()->Item("Standard").ok());

        // Add makes a tool bar of that name; a second one of the same name is refused.
        auto made = w.Host().CommandBars().value()->Add("MyBar");
        QVERIFY(made.ok());
        QCOMPARE(QString::fromStdString((*made)->Name().value()), QString("MyBar"));
        QVERIFY(w.findChild<QToolBar*>("MyBar"));
        QCOMPARE((*made)->Controls().value()->Count().value(), 0);
        QVERIFY(!w.Host().CommandBars().value()->Add("MyBar").ok());
        QVERIFY(ControlsOf(w.Host(), "MyBar"));
    }

    void buttonsGoBeforeThePositionGiven() {
        IdeWindow w(Flavour::VisualBasic6);
        auto controls = ControlsOf(w.Host(), "標準");
        const int n = controls->Count().value();
        QVERIFY(n >= 2);
        const std::string lastCaption = controls->Item(n).value()->Caption().value();

        // Two additions before the last control stay in the order they were made.
        auto first = controls->Add(host::msoControlButton, controls->Count().value()).value();
        QVERIFY(first->SetCaption("One").ok());
        auto second = controls->Add(host::msoControlButton, controls->Count().value()).value();
        QVERIFY(second->SetCaption("Two").ok());
        QCOMPARE(controls->Count().value(), n + 2);
        QCOMPARE(controls->Item(n).value().get(), first.get());
        QCOMPARE(controls->Item(n + 1).value().get(), second.get());
        QCOMPARE(controls->Item(n + 2).value()->Caption().value(), lastCaption);

        // Without a position, at the end; menus take buttons too.
        auto menu = ControlsOf(w.Host(), "Help");
        const int m = menu->Count().value();
        auto item = menu->Add(host::msoControlButton).value();
        QVERIFY(item->SetCaption("&Trawlex Plusの ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ").ok());
        QCOMPARE(menu->Item(m + 1).value().get(), item.get());
        auto* help = qobject_cast<QMenu*>(w.Bars().BarWidget("Help"));
        QCOMPARE(help->actions().last()->text(),
                 QString::fromUtf8("&Trawlex Plusの ﾊﾞｰｼﾞｮﾝ情報＆ｻﾎﾟｰﾄ"));

        QVERIFY(!controls->Add(2).ok());
        QVERIFY(!controls->Add(host::msoControlButton, controls->Count().value() + 2).ok());
        QVERIFY(!controls->Add(host::msoControlButton, -1).ok());
    }

    void pasteFaceTakesTheClipboardPicture() {
        IdeWindow w(Flavour::VisualBasic6);
        auto button = ControlsOf(w.Host(), "標準")->Add(host::msoControlButton).value();
        const host::Bitmap silver = Solid(16, 16, 192, 192, 192);
        QVERIFY(w.Host().SetClipboardPicture(silver).ok());
        QCOMPARE(w.Host().ClipboardPicture().value(), silver);
        QVERIFY(button->PasteFace().ok());
        auto* action = std::dynamic_pointer_cast<IdeControl>(button)->Action();
        const QImage face = action->icon().pixmap(16, 16).toImage();
        QCOMPARE(face.pixelColor(8, 8), QColor(192, 192, 192));

        QVERIFY(!w.Host().SetClipboardPicture(host::Bitmap{2, 2, {1, 2, 3}}).ok());
    }

    void clicksFireOncePerClickUntilDeleted() {
        IdeWindow w(Flavour::VisualBasic6);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto controls = ControlsOf(w.Host(), "標準");
        auto button = controls->Add(host::msoControlButton, controls->Count().value()).value();
        QVERIFY(button->SetCaption("Search").ok());
        auto events = w.Host().Events().value()->CommandBarEvents(button).value();
        int clicks = 0, others = 0;
        auto sub = events->OnClick([&] { ++clicks; });
        QVERIFY(sub.ok());
        // The same source asked for twice does not double the clicks of the first handler.
        auto again = w.Host().Events().value()->CommandBarEvents(button).value();
        auto otherSub = again->OnClick([&] { ++others; });

        auto* bar = qobject_cast<QToolBar*>(w.Bars().BarWidget("標準"));
        auto* action = std::dynamic_pointer_cast<IdeControl>(button)->Action();
        auto* widget = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QCOMPARE(others, 1);
        action->trigger();
        QCOMPARE(clicks, 2);

        sub->Cancel();
        action->trigger();
        QCOMPARE(clicks, 2);
        QCOMPARE(others, 3);

        // Delete takes the button off the bar; the object's members fail from then on.
        const int before = controls->Count().value();
        QVERIFY(button->Delete().ok());
        QCOMPARE(controls->Count().value(), before - 1);
        QVERIFY(!button->Delete().ok());
        QVERIFY(!button->Caption().ok());
        QVERIFY(!button->PasteFace().ok());
        QVERIFY(!w.Host().Events().value()->CommandBarEvents(button).ok());
        QVERIFY(!again->OnClick([] {}).ok());
        QVERIFY(!bar->actions().contains(action));
    }

  private:
    std::unique_ptr<vbide_test::ScopedMachineRoot> root_;
};

QTEST_MAIN(IdeCommandBarsTest)
#include "ide_command_bars_qtest.moc"
