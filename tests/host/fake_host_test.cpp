#include "tests/fake_host/fake_host.h"

#include <gtest/gtest.h>

#include "host/addin_instance.h"

namespace trawlex::host::fake {
namespace {

Bitmap Solid(int size, std::uint8_t level) {
    return Bitmap{size, size,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 3, level)};
}

// A small add-in that does what a real one does with the host: a button on the standard
// bar, just before its last control, with a caption, a face and a click binding.
class ButtonAddin : public AddinInstance {
  public:
    void OnConnection(HostApp& host, ConnectMode) override {
        auto bars = host.CommandBars();
        ASSERT_TRUE(bars.ok()) << bars.error();
        auto bar = (*bars)->Item(kStandardBar);
        ASSERT_TRUE(bar.ok()) << bar.error();
        auto controls = (*bar)->Controls();
        ASSERT_TRUE(controls.ok());
        auto count = (*controls)->Count();
        ASSERT_TRUE(count.ok());
        auto button = (*controls)->Add(msoControlButton, *count);
        ASSERT_TRUE(button.ok()) << button.error();
        button_ = *button;
        ASSERT_TRUE(button_->SetCaption("Search").ok());
        ASSERT_TRUE(host.SetClipboardPicture(Solid(16, 192)).ok());
        faceStatus_ = button_->PasteFace();
        auto events = host.Events();
        ASSERT_TRUE(events.ok());
        auto source = (*events)->CommandBarEvents(button_);
        ASSERT_TRUE(source.ok()) << source.error();
        auto subscription = (*source)->OnClick([this] { ++clicks; });
        ASSERT_TRUE(subscription.ok());
        click_ = std::move(subscription).value();
    }
    void OnDisconnection(DisconnectMode) override {
        if (button_) deleteStatus = button_->Delete();
    }

    int clicks = 0;
    Status faceStatus_;
    Status deleteStatus;
    std::shared_ptr<CommandBarControl> button_;

  private:
    Subscription click_;
};

TEST(FakeHost, AnAddinButtonIsPlacedClickedAndDeleted) {
    FakeHost host;
    auto standard = host.bar(kStandardBar);
    ASSERT_NE(standard, nullptr);
    const auto before = standard->captions();
    ASSERT_GE(before.size(), 2u);

    ButtonAddin addin;
    addin.OnConnection(host, ext_cm_AfterStartup);
    ASSERT_NE(addin.button_, nullptr);

    // Inserted before the last built-in control, with its caption and the clipboard face.
    auto captions = standard->captions();
    ASSERT_EQ(captions.size(), before.size() + 1);
    EXPECT_EQ(captions[captions.size() - 2], "Search");
    EXPECT_EQ(captions.back(), before.back());
    EXPECT_TRUE(addin.faceStatus_.ok());
    const auto& control = standard->controls()[captions.size() - 2];
    ASSERT_TRUE(control->face().has_value());
    EXPECT_EQ(*control->face(), Solid(16, 192));
    EXPECT_EQ(host.clipboardPicture(), Solid(16, 192));

    EXPECT_TRUE(host.FireClick(addin.button_));
    EXPECT_EQ(addin.clicks, 1);
    EXPECT_TRUE(host.FireClick(addin.button_));
    EXPECT_EQ(addin.clicks, 2);

    addin.OnDisconnection(ext_dm_UserClosed);
    EXPECT_TRUE(addin.deleteStatus.ok());
    EXPECT_EQ(standard->captions(), before);
    ASSERT_EQ(standard->deletedControls().size(), 1u);
    EXPECT_EQ(standard->deletedControls()[0]->caption(), "Search");

    // A deleted control cannot be clicked, and a second Delete fails quietly.
    EXPECT_FALSE(host.FireClick(addin.button_));
    EXPECT_EQ(addin.clicks, 2);
    EXPECT_FALSE(addin.button_->Delete().ok());
    EXPECT_FALSE(addin.button_->Caption().ok());
}

TEST(FakeHost, AddinsConnectThroughTheCollection) {
    FakeHost host;
    auto record = host.AddAddin("Trawlex.Connect", true, false);
    ButtonAddin addin;
    record->SetConnectHandler([&](bool connect) -> Status {
        if (connect) {
            addin.OnConnection(host, ext_cm_AfterStartup);
        } else {
            addin.OnDisconnection(ext_dm_UserClosed);
        }
        return {};
    });

    auto addins = host.Addins();
    ASSERT_TRUE(addins.ok());
    auto item = (*addins)->Item("trawlex.connect");  // ProgIDs ignore case
    ASSERT_TRUE(item.ok()) << item.error();
    ASSERT_TRUE((*item)->SetConnect(true).ok());
    EXPECT_TRUE(*(*item)->Connect());
    ASSERT_NE(addin.button_, nullptr);
    EXPECT_TRUE(host.FireClick(addin.button_));
    EXPECT_EQ(addin.clicks, 1);

    ASSERT_TRUE((*item)->SetInstalled(false).ok());
    ASSERT_TRUE((*item)->SetConnect(false).ok());
    EXPECT_FALSE(*(*item)->Connect());
    EXPECT_FALSE(*(*item)->Installed());
    EXPECT_FALSE(host.FireClick(addin.button_));
    EXPECT_EQ(record->changes(),
              (std::vector<std::string>{"Connect=True", "Installed=False", "Connect=False"}));

    EXPECT_FALSE((*addins)->Item("Nobody.Connect").ok());
}

TEST(FakeHost, AFailedConnectionLeavesTheAddinAsItWas) {
    FakeHost host;
    auto record = host.AddAddin("Trawlex.Connect");
    record->SetConnectHandler([](bool) -> Status { return Failure{"cannot load trawlex.dll"}; });
    auto item = (*host.Addins())->Item("Trawlex.Connect");
    ASSERT_TRUE(item.ok());
    Status status = (*item)->SetConnect(true);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.error(), "cannot load trawlex.dll");
    EXPECT_FALSE(record->connected());
    EXPECT_TRUE(record->changes().empty());
}

TEST(FakeHost, FlavoursDifferInLastUsedPathAndDefaultValue) {
    FakeHost vb6(HostFlavour::VisualBasic6);
    vb6.SetLastUsedPath("C:\\Work\\Project");
    EXPECT_EQ(vb6.LastUsedPath().value_or(""), "C:\\Work\\Project");
    EXPECT_EQ(vb6.DefaultValue().value_or(""), kVisualBasic6DefaultValue);

    FakeHost office(HostFlavour::OfficeEditor);
    office.SetLastUsedPath("C:\\Ignored");
    EXPECT_FALSE(office.LastUsedPath().ok());
    EXPECT_FALSE(office.LastUsedPath().error().empty());
    EXPECT_FALSE(office.DefaultValue().ok());
}

TEST(FakeHost, InjectedFailuresCarryTheirDescriptionUntilRestored) {
    FakeHost host;
    auto project = host.AddProject("Project1");
    auto component = project->AddModule("Module1", "Sub A()\nEnd Sub\n");
    auto module = component->module();

    host.FailMember("CodeModule.ReplaceLine", "Permission denied");
    host.FailMember("HostApp.ActiveCodePane", "No code window");
    Status replaced = module->ReplaceLine(1, "x");
    EXPECT_EQ(replaced.error(), "Permission denied");
    EXPECT_EQ(host.ActiveCodePane().error(), "No code window");
    EXPECT_EQ(*module->Lines(1, 1), "Sub A()");

    host.RestoreMember("CodeModule.ReplaceLine");
    EXPECT_TRUE(module->ReplaceLine(1, "Sub B()").ok());
    EXPECT_TRUE(module->ProcStartLine("B", vbext_pk_Proc).ok());

    // A read-only module refuses changes on its own.
    module->SetReadOnly(true);
    EXPECT_FALSE(module->ReplaceLine(1, "Sub C()").ok());
    EXPECT_EQ(*module->Lines(1, 1), "Sub B()");
}

TEST(FakeHost, ProjectsListComponentsInOrderAndSomeHaveNoCode) {
    FakeHost host;
    auto noProject = host.ActiveVBProject();
    ASSERT_TRUE(noProject.ok());
    EXPECT_EQ(*noProject, nullptr);

    auto project = host.AddProject("Project1");
    project->AddModule("Module1", "Option Explicit\r\n");
    project->AddComponentWithoutCode("Resources");
    project->AddModule("Class1", "Sub A()\nEnd Sub\n");

    auto active = host.ActiveVBProject();
    ASSERT_TRUE(active.ok());
    ASSERT_EQ(*active, project);
    auto components = (*active)->VBComponents();
    ASSERT_TRUE(components.ok());
    ASSERT_EQ((*components)->Count().value_or(0), 3);
    std::vector<std::string> names;
    for (int i = 1; i <= 3; ++i) names.push_back(*(*(*components)->Item(i))->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Module1", "Resources", "Class1"}));
    EXPECT_FALSE((*components)->Item(0).ok());
    EXPECT_FALSE((*components)->Item(4).ok());

    auto resources = *(*components)->Item(2);
    EXPECT_FALSE(resources->CodeModule().ok());
    EXPECT_FALSE(resources->CodePane().ok());
    EXPECT_EQ(*(*(*(*components)->Item(3))->CodeModule())->Name(), "Class1");
}

TEST(FakeHost, PanesShareTheirComponentsModuleAndCloseCleanly) {
    FakeHost host;
    auto project = host.AddProject("Project1");
    auto module1 = project->AddModule("Module1", "a\nb\nc\n");
    auto first = host.OpenPane(module1);
    auto second = host.OpenPane(module1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(host.OpenPane(project->AddComponentWithoutCode("Form1")), nullptr);

    auto panes = *host.CodePanes();
    EXPECT_EQ(*panes->Count(), 2);
    auto item1 = *panes->Item(1);
    EXPECT_EQ(item1, first);
    // The same module object, whichever way it is reached.
    EXPECT_EQ(*item1->CodeModule(), *module1->CodeModule());
    EXPECT_EQ(*(*panes->Item(2))->CodeModule(), *module1->CodeModule());
    EXPECT_EQ(*host.ActiveCodePane(), second);

    host.ClosePane(second);
    EXPECT_EQ(*panes->Count(), 1);
    EXPECT_EQ(*host.ActiveCodePane(), nullptr);
    EXPECT_FALSE(second->GetSelection().ok());
    EXPECT_FALSE(second->CodeModule().ok());
}

TEST(FakeHost, AComponentsPaneShowsSelectsAndTakesTheFocus) {
    FakeHost host;
    auto project = host.AddProject("Project1");
    auto other = host.AddProject("Project2");
    host.SetActiveProject(other);
    auto component = project->AddModule("Module1", "Dim a\nDim b\n");

    auto pane = component->CodePane();
    ASSERT_TRUE(pane.ok());
    EXPECT_EQ(*(*host.CodePanes())->Count(), 0);  // made, not yet shown
    EXPECT_EQ(*component->CodePane(), *pane);     // the same pane each time

    ASSERT_TRUE((*pane)->Show().ok());
    EXPECT_EQ(*(*host.CodePanes())->Count(), 1);
    EXPECT_EQ(*host.ActiveCodePane(), *pane);
    EXPECT_EQ(host.activeProject(), project);

    const Selection line2{2, 1, 2, 6};
    ASSERT_TRUE((*pane)->SetSelection(line2).ok());
    EXPECT_EQ(*(*pane)->GetSelection(), line2);
    EXPECT_FALSE((*pane)->SetSelection({3, 1, 3, 1}).ok());
    EXPECT_FALSE((*pane)->SetSelection({1, 0, 1, 1}).ok());
    EXPECT_EQ(*(*pane)->GetSelection(), line2);

    auto window = (*pane)->Window();
    ASSERT_TRUE(window.ok());
    ASSERT_TRUE((*window)->SetFocus().ok());
    auto fakePane = std::dynamic_pointer_cast<FakeCodePane>(*pane);
    EXPECT_EQ(fakePane->focusCount(), 1);
    EXPECT_EQ(fakePane->showCount(), 1);
}

TEST(FakeHost, CommandBarsAreFoundByNameAndAddedOnce) {
    FakeHost host;
    EXPECT_EQ(host.barNames(),
              (std::vector<std::string>{kStandardBar, kAddInsMenu, kToolsMenu, kHelpMenu}));
    auto bars = *host.CommandBars();
    EXPECT_FALSE(bars->Item("Standard").ok());
    auto made = bars->Add("Standard");
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(*(*made)->Name(), "Standard");
    EXPECT_EQ(*bars->Item("Standard"), *made);
    EXPECT_FALSE(bars->Add("Standard").ok());

    auto controls = *(*made)->Controls();
    EXPECT_EQ(*controls->Count(), 0);
    auto a = *controls->Add(msoControlButton, 0);  // Before 0: at the end
    auto b = *controls->Add(msoControlButton);     // no Before: at the end
    auto c = *controls->Add(msoControlButton, 1);  // first
    EXPECT_EQ(*controls->Item(1), c);
    EXPECT_EQ(*controls->Item(2), a);
    EXPECT_EQ(*controls->Item(3), b);
    EXPECT_FALSE(controls->Add(msoControlButton, 5).ok());
    EXPECT_FALSE(controls->Add(msoControlButton, -1).ok());
    EXPECT_FALSE(controls->Add(10).ok());  // a pop-up, not a button
    EXPECT_EQ(*controls->Count(), 3);
}

TEST(FakeHost, FacesComeFromAValidClipboardPicture) {
    FakeHost host;
    auto button = *(*(*(*host.CommandBars())->Item(kHelpMenu))->Controls())->Add(msoControlButton);
    EXPECT_FALSE(button->PasteFace().ok());  // nothing on the clipboard yet
    EXPECT_FALSE(host.ClipboardPicture().ok());

    Bitmap torn = Solid(16, 0);
    torn.rgb.pop_back();
    EXPECT_FALSE(host.SetClipboardPicture(torn).ok());
    EXPECT_FALSE(host.SetClipboardPicture(Bitmap{}).ok());

    ASSERT_TRUE(host.SetClipboardPicture(Solid(16, 7)).ok());
    ASSERT_TRUE(button->PasteFace().ok());
    ASSERT_TRUE(host.SetClipboardPicture(Solid(16, 9)).ok());
    auto fake = std::dynamic_pointer_cast<FakeControl>(button);
    EXPECT_EQ(*fake->face(), Solid(16, 7));  // pasted once, not linked to the clipboard
    EXPECT_EQ(*host.ClipboardPicture(), Solid(16, 9));
}

TEST(FakeHost, ClickEventsNeedALiveControlOfThisHost) {
    FakeHost host;
    FakeHost stranger;
    auto foreign =
        *(*(*(*stranger.CommandBars())->Item(kToolsMenu))->Controls())->Add(msoControlButton);
    auto events = *host.Events();
    EXPECT_FALSE(events->CommandBarEvents(foreign).ok());
    EXPECT_FALSE(events->CommandBarEvents(nullptr).ok());
    EXPECT_FALSE(host.FireClick(foreign));

    auto own = *(*(*(*host.CommandBars())->Item(kToolsMenu))->Controls())->Add(msoControlButton);
    auto source = events->CommandBarEvents(own);
    ASSERT_TRUE(source.ok());
    ASSERT_TRUE(own->Delete().ok());
    EXPECT_FALSE((*source)->OnClick([] {}).ok());
    EXPECT_FALSE(events->CommandBarEvents(own).ok());
}

TEST(FakeHost, ObjectsOutlivingTheHostFailInsteadOfCrashing) {
    std::shared_ptr<CodeModule> module;
    std::shared_ptr<CommandBarControl> control;
    {
        FakeHost host;
        auto component = host.AddProject("P")->AddModule("M", "x\n");
        module = *component->CodeModule();
        control =
            *(*(*(*host.CommandBars())->Item(kStandardBar))->Controls())->Add(msoControlButton);
    }
    EXPECT_FALSE(module->Lines(1, 1).ok());
    EXPECT_FALSE(control->SetCaption("late").ok());
    EXPECT_FALSE(control->Delete().ok());
}

}  // namespace
}  // namespace trawlex::host::fake
