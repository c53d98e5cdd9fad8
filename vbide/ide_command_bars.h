#pragma once
// The host's command bars over Qt: tool bars and menus are bars, their QActions are the
// controls, and a control's click event fires once per QAction::triggered.

#include <QAction>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/command_bars.h"

namespace trawlex::vbide {

class IdeControl : public host::CommandBarControl {
  public:
    using PictureSource = std::function<Result<host::Bitmap>()>;
    // Made by IdeCommandBarSet, which keeps one object per action.
    IdeControl(QAction* action, PictureSource pictures);

    Result<std::string> Caption() const override;
    Status SetCaption(std::string_view caption) override;
    Status PasteFace() override;
    Status Delete() override;

    QAction* Action() const { return action_; }
    bool Deleted() const { return deleted_ || !action_; }
    host::ClickEvent& click() { return click_; }

  private:
    QPointer<QAction> action_;
    PictureSource pictures_;
    host::ClickEvent click_;
    bool deleted_ = false;
};

class IdeCommandBarSet : public QObject {
    Q_OBJECT
  public:
    IdeCommandBarSet(QMainWindow* window, IdeControl::PictureSource pictures);

    // Makes `widget` (a QToolBar or a QMenu) reachable as the bar `name`.
    void AddBar(const std::string& name, QWidget* widget);
    // A new tool bar on the window; fails when a bar of that name exists.
    Result<QWidget*> AddToolBar(const std::string& name);
    // The bar's widget by exact name, or nullptr.
    QWidget* BarWidget(std::string_view name) const;
    std::vector<std::string> BarNames() const;
    // The one control object of an action (made on first use).
    std::shared_ptr<IdeControl> ControlOf(QAction* action);

    std::shared_ptr<host::CommandBars> CommandBars();
    std::shared_ptr<host::Events> Events();

    // True while a control's click handlers run (they may pump the event loop).
    bool Dispatching() const { return dispatching_ > 0; }
    // Runs from the event loop after the outermost click dispatch has returned.
    void SetAfterDispatch(std::function<void()> afterDispatch) {
        afterDispatch_ = std::move(afterDispatch);
    }

  private:
    int dispatching_ = 0;
    std::function<void()> afterDispatch_;
    QPointer<QMainWindow> window_;
    IdeControl::PictureSource pictures_;
    std::vector<std::pair<std::string, QPointer<QWidget>>> bars_;
    std::map<QAction*, std::shared_ptr<IdeControl>> controls_;
};

}  // namespace trawlex::vbide
