#include "vbide/ide_command_bars.h"

#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QToolBar>

#include "vbide/bitmap_image.h"

namespace trawlex::vbide {
namespace {

constexpr const char* kGone = "the control has been deleted";

class IdeBarControls : public host::CommandBarControls {
  public:
    IdeBarControls(IdeCommandBarSet* set, QWidget* bar) : set_(set), bar_(bar) {}

    Result<int> Count() const override {
        if (!bar_) return Failure{"the command bar is gone"};
        return static_cast<int>(bar_->actions().size());
    }
    Result<std::shared_ptr<host::CommandBarControl>> Item(int index) override {
        if (!bar_ || !set_) return Failure{"the command bar is gone"};
        const auto actions = bar_->actions();
        if (index < 1 || index > actions.size()) return Failure{"Subscript out of range"};
        return std::shared_ptr<host::CommandBarControl>(set_->ControlOf(actions[index - 1]));
    }
    Result<std::shared_ptr<host::CommandBarControl>> Add(int type,
                                                         std::optional<int> before) override {
        if (!bar_ || !set_) return Failure{"the command bar is gone"};
        if (type != host::msoControlButton) return Failure{"Invalid procedure call or argument"};
        const auto actions = bar_->actions();
        const int n = before.value_or(0);
        if (n < 0 || n > actions.size() + 1) return Failure{"Invalid procedure call or argument"};
        auto* action = new QAction(bar_);
        if (n >= 1 && n <= actions.size())
            bar_->insertAction(actions[n - 1], action);
        else
            bar_->addAction(action);
        return std::shared_ptr<host::CommandBarControl>(set_->ControlOf(action));
    }

  private:
    QPointer<IdeCommandBarSet> set_;
    QPointer<QWidget> bar_;
};

class IdeBar : public host::CommandBar {
  public:
    IdeBar(IdeCommandBarSet* set, std::string name, QWidget* widget)
        : set_(set), name_(std::move(name)), widget_(widget) {}
    Result<std::string> Name() const override { return name_; }
    Result<std::shared_ptr<host::CommandBarControls>> Controls() override {
        if (!widget_) return Failure{"the command bar is gone"};
        return std::shared_ptr<host::CommandBarControls>(
            std::make_shared<IdeBarControls>(set_, widget_));
    }

  private:
    QPointer<IdeCommandBarSet> set_;
    std::string name_;
    QPointer<QWidget> widget_;
};

class IdeBars : public host::CommandBars {
  public:
    explicit IdeBars(IdeCommandBarSet* set) : set_(set) {}
    Result<std::shared_ptr<host::CommandBar>> Item(std::string_view name) override {
        if (!set_) return Failure{"the editor is closing"};
        QWidget* w = set_->BarWidget(name);
        if (!w) return Failure{"Invalid procedure call or argument"};
        return std::shared_ptr<host::CommandBar>(
            std::make_shared<IdeBar>(set_, std::string(name), w));
    }
    Result<std::shared_ptr<host::CommandBar>> Add(std::string_view name) override {
        if (!set_) return Failure{"the editor is closing"};
        auto w = set_->AddToolBar(std::string(name));
        if (!w) return Failure{w.error()};
        return std::shared_ptr<host::CommandBar>(
            std::make_shared<IdeBar>(set_, std::string(name), *w));
    }

  private:
    QPointer<IdeCommandBarSet> set_;
};

class IdeClickEvents : public host::CommandBarEvents {
  public:
    explicit IdeClickEvents(std::weak_ptr<IdeControl> control) : control_(std::move(control)) {}
    Result<host::Subscription> OnClick(std::function<void()> handler) override {
        auto control = control_.lock();
        if (!control || control->Deleted()) return Failure{kGone};
        return control->click().Subscribe(std::move(handler));
    }

  private:
    std::weak_ptr<IdeControl> control_;
};

class IdeEvents : public host::Events {
  public:
    explicit IdeEvents(IdeCommandBarSet* set) : set_(set) {}
    Result<std::shared_ptr<host::CommandBarEvents>> CommandBarEvents(
        const std::shared_ptr<host::CommandBarControl>& control) override {
        auto ours = std::dynamic_pointer_cast<IdeControl>(control);
        if (!set_ || !ours || ours->Deleted() || set_->ControlOf(ours->Action()) != ours)
            return Failure{"Invalid procedure call or argument"};
        return std::shared_ptr<host::CommandBarEvents>(std::make_shared<IdeClickEvents>(ours));
    }

  private:
    QPointer<IdeCommandBarSet> set_;
};

}  // namespace

IdeControl::IdeControl(QAction* action, PictureSource pictures)
    : action_(action), pictures_(std::move(pictures)) {}

Result<std::string> IdeControl::Caption() const {
    if (Deleted()) return Failure{kGone};
    return action_->text().toStdString();
}

Status IdeControl::SetCaption(std::string_view caption) {
    if (Deleted()) return Failure{kGone};
    const QString text = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
    action_->setText(text);
    action_->setToolTip(QString(text).remove(QChar('&')));
    return {};
}

Status IdeControl::PasteFace() {
    if (Deleted()) return Failure{kGone};
    auto picture = pictures_ ? pictures_() : Result<host::Bitmap>(Failure{"no clipboard"});
    if (!picture) return Failure{picture.error()};
    if (picture->Empty() || !picture->Valid()) return Failure{"the clipboard holds no picture"};
    action_->setIcon(QIcon(QPixmap::fromImage(ImageOfBitmap(*picture))));
    return {};
}

Status IdeControl::Delete() {
    if (Deleted()) return Failure{kGone};
    deleted_ = true;
    for (QObject* o : action_->associatedObjects())
        if (auto* w = qobject_cast<QWidget*>(o)) w->removeAction(action_);
    action_->deleteLater();
    return {};
}

IdeCommandBarSet::IdeCommandBarSet(QMainWindow* window, IdeControl::PictureSource pictures)
    : QObject(window), window_(window), pictures_(std::move(pictures)) {}

void IdeCommandBarSet::AddBar(const std::string& name, QWidget* widget) {
    bars_.emplace_back(name, widget);
}

Result<QWidget*> IdeCommandBarSet::AddToolBar(const std::string& name) {
    if (!window_) return Failure{"the editor is closing"};
    if (BarWidget(name)) return Failure{"Invalid procedure call or argument"};
    auto* bar = new QToolBar(QString::fromStdString(name), window_);
    bar->setObjectName(QString::fromStdString(name));
    window_->addToolBar(bar);
    AddBar(name, bar);
    return static_cast<QWidget*>(bar);
}

QWidget* IdeCommandBarSet::BarWidget(std::string_view name) const {
    for (const auto& [n, w] : bars_)
        if (n == name && w) return w;
    return nullptr;
}

std::vector<std::string> IdeCommandBarSet::BarNames() const {
    std::vector<std::string> names;
    for (const auto& [n, w] : bars_)
        if (w) names.push_back(n);
    return names;
}

std::shared_ptr<IdeControl> IdeCommandBarSet::ControlOf(QAction* action) {
    if (!action) return nullptr;
    auto it = controls_.find(action);
    if (it != controls_.end()) return it->second;
    auto control = std::make_shared<IdeControl>(action, pictures_);
    controls_.emplace(action, control);
    std::weak_ptr<IdeControl> weak = control;
    connect(action, &QAction::triggered, this, [this, weak] {
        auto c = weak.lock();
        if (!c || c->Deleted()) return;
        ++dispatching_;
        c->click().Fire();
        // The action and its tool button are still on the stack: defer to the event loop.
        if (--dispatching_ == 0 && afterDispatch_) {
            QTimer::singleShot(0, this, [this] {
                if (!Dispatching() && afterDispatch_) afterDispatch_();
            });
        }
    });
    connect(action, &QObject::destroyed, this, [this, action] { controls_.erase(action); });
    return control;
}

std::shared_ptr<host::CommandBars> IdeCommandBarSet::CommandBars() {
    return std::make_shared<IdeBars>(this);
}

std::shared_ptr<host::Events> IdeCommandBarSet::Events() {
    return std::make_shared<IdeEvents>(this);
}

}  // namespace trawlex::vbide
