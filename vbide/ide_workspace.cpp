#include "vbide/ide_workspace.h"

#include <QMdiSubWindow>
#include <algorithm>

#include "vbide/ide_icons.h"

namespace trawlex::vbide {

IdeWorkspace::IdeWorkspace(QMdiArea* area, QObject* parent) : QObject(parent), area_(area) {}

IdeWorkspace::~IdeWorkspace() {
    CloseAll();
}

void IdeWorkspace::CloseAll() {
    // Panes go first: their editors show the components' documents.
    auto open = std::move(open_);
    open_.clear();
    for (auto& pane : open) {
        pane->MarkClosed();
        if (QMdiSubWindow* sub = pane->SubWindow()) delete sub;
    }
    for (const auto& weak : unshown_)
        if (auto pane = weak.lock()) pane->MarkClosed();
    unshown_.clear();
    projects_.clear();
    chosen_.reset();
}

void IdeWorkspace::SetProjects(const VbProjectGroup& group) {
    CloseAll();
    PaneProvider provider = [self = QPointer<IdeWorkspace>(this)](
                                IdeComponent& c) -> Result<std::shared_ptr<host::CodePane>> {
        if (!self) return Failure{"the editor is closing"};
        return std::shared_ptr<host::CodePane>(self->PaneFor(c));
    };
    for (const auto& p : group.projects)
        projects_.push_back(std::make_shared<IdeProject>(p, provider));
    if (group.startup < projects_.size()) chosen_ = projects_[group.startup];
    emit projectsChanged();
}

std::shared_ptr<IdeProject> IdeWorkspace::ProjectOf(const IdeComponent& component) const {
    for (const auto& p : projects_)
        for (const auto& c : p->Components())
            if (c.get() == &component) return p;
    return nullptr;
}

std::shared_ptr<IdeProject> IdeWorkspace::ActiveProject() const {
    if (auto pane = ActivePane())
        if (auto c = pane->Component())
            if (auto p = ProjectOf(*c)) return p;
    if (auto p = chosen_.lock()) return p;
    return projects_.empty() ? nullptr : projects_.front();
}

std::shared_ptr<IdeCodePane> IdeWorkspace::ActivePane() const {
    if (!area_) return nullptr;
    // The current window stays current while another top-level window (the add-in's
    // search window) has the focus.
    QMdiSubWindow* current = area_->currentSubWindow();
    for (const auto& pane : open_)
        if (pane->SubWindow() == current && current) return pane;
    return nullptr;
}

std::vector<std::shared_ptr<IdeCodePane>> IdeWorkspace::OpenPanes() const {
    return open_;
}

std::shared_ptr<IdeCodePane> IdeWorkspace::PaneFor(IdeComponent& component) {
    for (const auto& pane : open_)
        if (pane->Component().get() == &component) return pane;
    std::erase_if(unshown_, [](const auto& w) { return w.expired(); });
    for (const auto& weak : unshown_) {
        auto pane = weak.lock();
        if (pane->Component().get() == &component && !pane->Closed()) return pane;
    }
    auto pane = std::make_shared<IdeCodePane>(*this, component.shared_from_this());
    unshown_.push_back(pane);
    return pane;
}

Status IdeWorkspace::ShowPane(IdeCodePane& pane) {
    if (!area_) return Failure{"the editor is closing"};
    QMdiSubWindow* sub = pane.SubWindow();
    if (!sub) {
        auto component = pane.Component();
        auto project = component ? ProjectOf(*component) : nullptr;
        sub = area_->addSubWindow(pane.Editor());
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(CodeWindowIcon());
        sub->setWindowTitle(
            QString::fromStdString((project ? project->Name().value() + " - " : std::string()) +
                                   component->Name().value() + " (Code)"));
        pane.Attach(sub);
        auto self = pane.shared_from_this();
        open_.push_back(self);
        std::weak_ptr<IdeCodePane> weak = self;
        connect(sub, &QObject::destroyed, this, [this, weak] {
            auto closing = weak.lock();
            if (!closing) return;
            closing->MarkClosed();
            std::erase(open_, closing);
        });
        sub->resize(area_->size() * 3 / 4);
    }
    sub->show();
    area_->setActiveSubWindow(sub);
    return {};
}

}  // namespace trawlex::vbide
