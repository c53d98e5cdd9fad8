#pragma once
// The open projects and code panes of the editor, over its MDI area.

#include <QMdiArea>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "vbide/ide_code_pane.h"
#include "vbide/ide_project.h"

namespace trawlex::vbide {

class IdeWorkspace : public QObject {
    Q_OBJECT
  public:
    explicit IdeWorkspace(QMdiArea* area, QObject* parent = nullptr);
    ~IdeWorkspace() override;

    // Replaces the open projects (closing every pane). `active` indexes `projects`.
    void SetProjects(const VbProjectGroup& group);
    void CloseAll();
    const std::vector<std::shared_ptr<IdeProject>>& Projects() const { return projects_; }

    // The project of the active pane, else the one chosen last, else none.
    std::shared_ptr<IdeProject> ActiveProject() const;
    void ChooseProject(const std::shared_ptr<IdeProject>& project) { chosen_ = project; }
    std::shared_ptr<IdeProject> ProjectOf(const IdeComponent& component) const;

    // The pane of the current MDI window; nullptr when none.
    std::shared_ptr<IdeCodePane> ActivePane() const;
    // Open panes in the order they were opened.
    std::vector<std::shared_ptr<IdeCodePane>> OpenPanes() const;
    // The component's open pane, else a pane made for it and not yet shown.
    std::shared_ptr<IdeCodePane> PaneFor(IdeComponent& component);
    // Puts a pane in an MDI window (when it has none) and makes it the active one.
    Status ShowPane(IdeCodePane& pane);
    QMdiArea* Area() const { return area_; }

  signals:
    void projectsChanged();

  private:
    QPointer<QMdiArea> area_;
    std::vector<std::shared_ptr<IdeProject>> projects_;
    std::weak_ptr<IdeProject> chosen_;
    std::vector<std::shared_ptr<IdeCodePane>> open_;
    std::vector<std::weak_ptr<IdeCodePane>> unshown_;
};

}  // namespace trawlex::vbide
