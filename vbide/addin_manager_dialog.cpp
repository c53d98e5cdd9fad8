#include "vbide/addin_manager_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "vbide/addin_manager.h"

namespace trawlex::vbide {
namespace {

QString BehaviorText(bool loaded, bool startup) {
    if (loaded && startup) return "Startup / Loaded";
    if (loaded) return "Loaded";
    if (startup) return "Startup / Unloaded";
    return "";
}

}  // namespace

AddinManagerDialog::AddinManagerDialog(AddinManager& manager, QWidget* parent)
    : QDialog(parent),
      manager_(manager),
      list_(new QTreeWidget(this)),
      description_(new QLabel(this)),
      loaded_(new QCheckBox("Loaded/Unloaded", this)),
      startup_(new QCheckBox("Load on Startup", this)) {
    setObjectName("AddInManager");
    setWindowTitle("Add-In Manager");
    list_->setObjectName("lstAddins");
    list_->setColumnCount(2);
    list_->setHeaderLabels({"Available Add-Ins", "Load Behavior"});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    description_->setObjectName("lblDescription");
    description_->setWordWrap(true);
    description_->setMinimumHeight(60);
    loaded_->setObjectName("chkLoaded");
    startup_->setObjectName("chkStartup");

    for (auto& record : ListAddinRecords(manager.EditorFlavour())) {
        Row row;
        row.wantLoaded = manager.IsConnected(record.progId);
        row.wantStartup = record.LoadAtStartup();
        row.record = std::move(record);
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QString::fromStdString(row.record.friendlyName));
        rows_.push_back(std::move(row));
        UpdateBehaviorText(static_cast<int>(rows_.size()) - 1);
    }

    auto* behavior = new QGroupBox("Load Behavior", this);
    auto* behaviorLayout = new QVBoxLayout(behavior);
    behaviorLayout->addWidget(loaded_);
    behaviorLayout->addWidget(startup_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(description_, 1);
    bottom->addWidget(behavior);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addWidget(new QLabel("Description", this));
    layout->addLayout(bottom);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this] { ShowRow(list_->indexOfTopLevelItem(list_->currentItem())); });
    connect(loaded_, &QCheckBox::toggled, this, [this](bool on) {
        int row = list_->indexOfTopLevelItem(list_->currentItem());
        if (row < 0) return;
        rows_[static_cast<std::size_t>(row)].wantLoaded = on;
        UpdateBehaviorText(row);
    });
    connect(startup_, &QCheckBox::toggled, this, [this](bool on) {
        int row = list_->indexOfTopLevelItem(list_->currentItem());
        if (row < 0) return;
        rows_[static_cast<std::size_t>(row)].wantStartup = on;
        UpdateBehaviorText(row);
    });
    if (!rows_.empty()) list_->setCurrentItem(list_->topLevelItem(0));
    ShowRow(rows_.empty() ? -1 : 0);
    resize(480, 360);
}

void AddinManagerDialog::ShowRow(int row) {
    const bool valid = row >= 0 && row < static_cast<int>(rows_.size());
    loaded_->setEnabled(valid);
    startup_->setEnabled(valid);
    QSignalBlocker b1(loaded_), b2(startup_);
    if (!valid) {
        description_->clear();
        loaded_->setChecked(false);
        startup_->setChecked(false);
        return;
    }
    const Row& r = rows_[static_cast<std::size_t>(row)];
    description_->setText(QString::fromStdString(r.record.description));
    loaded_->setChecked(r.wantLoaded);
    startup_->setChecked(r.wantStartup);
}

void AddinManagerDialog::UpdateBehaviorText(int row) {
    const Row& r = rows_[static_cast<std::size_t>(row)];
    list_->topLevelItem(row)->setText(1, BehaviorText(r.wantLoaded, r.wantStartup));
}

std::vector<std::string> AddinManagerDialog::Apply() {
    std::vector<std::string> failures;
    for (auto& r : rows_) {
        const std::string& id = r.record.progId;
        if (r.wantStartup != r.record.LoadAtStartup()) {
            if (Status s = SetLoadAtStartup(manager_.EditorFlavour(), id, r.wantStartup); !s)
                failures.push_back(id + ": " + s.error());
        }
        if (r.wantLoaded == manager_.IsConnected(id)) continue;
        Status s = r.wantLoaded ? manager_.Connect(id, host::ext_cm_AfterStartup)
                                : manager_.Disconnect(id, host::ext_dm_UserClosed);
        if (!s) failures.push_back(id + ": " + s.error());
    }
    return failures;
}

}  // namespace trawlex::vbide
