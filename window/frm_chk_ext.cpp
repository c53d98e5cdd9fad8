#include "window/frm_chk_ext.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include "window/control_settings.h"
#include "window/settings_failure.h"

namespace trawlex::window {

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtKeyPrefix = "ExtType_";

struct ExtensionScan {
    std::vector<std::string> found;
    std::unordered_set<std::string> seen;

    void Add(const std::string& ext) {
        if (!ext.empty() && seen.insert(ext).second) found.push_back(ext);
    }

    // One folder: its files in name order, then its subfolders in name order. Symbolic
    // links to folders are not followed, so a link cycle cannot loop.
    void Scan(const fs::path& folder) {
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        if (ec) return;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            const fs::directory_entry& entry = *it;
            std::error_code typeError;
            const std::string name = entry.path().filename().string();
            if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) {
                folders.push_back(name);
            } else if (!entry.is_directory(typeError)) {
                files.push_back(name);
            }
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const std::string& file : files) Add(GetExt(file));
        for (const std::string& sub : folders) Scan(folder / sub);
    }
};

}  // namespace

std::string GetExt(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) return {};
    return name.substr(dot);
}

std::vector<std::string> ScanExtensions(const std::string& folder) {
    ExtensionScan scan;
    if (!folder.empty()) scan.Scan(fs::path(folder));
    return std::move(scan.found);
}

FrmChkExt::FrmChkExt(const QString& folder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChkExt"));
    setWindowTitle(QStringLiteral("拡張子選択"));
    setModal(true);

    lstExt_ = new QListWidget(this);
    lstExt_->setObjectName(QStringLiteral("lstExt"));
    lstExt_->setSelectionMode(QAbstractItemView::MultiSelection);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* start = button("cmdFindStart", "検索開始");
    QPushButton* abort = button("Command1", "中止");
    QPushButton* all = button("cmdSelectAll", "全選択");
    QPushButton* none = button("cmdRemoveAll", "選択解除");
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &FrmChkExt::cmdFindStart_Click);
    connect(abort, &QPushButton::clicked, this, &FrmChkExt::Command1_Click);
    connect(all, &QPushButton::clicked, this, &FrmChkExt::cmdSelectAll_Click);
    connect(none, &QPushButton::clicked, this, &FrmChkExt::cmdRemoveAll_Click);

    auto* tick = new QHBoxLayout;
    tick->addWidget(all);
    tick->addWidget(none);
    auto* confirm = new QHBoxLayout;
    confirm->addWidget(start);
    confirm->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstExt_);
    layout->addLayout(tick);
    layout->addLayout(confirm);

    const SettingsSnapshot stored;
    for (const std::string& ext : ScanExtensions(folder.toStdString())) {
        auto* item = new QListWidgetItem(QStringLiteral("*") + QString::fromStdString(ext));
        lstExt_->addItem(item);
        const QString key = kExtKeyPrefix + item->text().mid(2);
        item->setSelected(stored.Read(key, QStringLiteral("True")) == QStringLiteral("True"));
    }
}

QString FrmChkExt::Choose(const QString& folder, QWidget* parent) {
    FrmChkExt dialog(folder, parent);
    dialog.exec();
    return dialog.ExtList();
}

void FrmChkExt::cmdFindStart_Click() {
    QStringList ticked;
    for (int i = 0; i < lstExt_->count(); ++i) {
        const QListWidgetItem* item = lstExt_->item(i);
        if (item->isSelected()) ticked.push_back(item->text());
    }
    SettingsBatch batch;
    for (int i = 0; i < lstExt_->count(); ++i) {
        const QListWidgetItem* item = lstExt_->item(i);
        batch.Write(kExtKeyPrefix + item->text().mid(2),
                    item->isSelected() ? QStringLiteral("True") : QStringLiteral("False"));
    }
    ReportSettingsSaveFailure(batch.Save(), parentWidget());
    extList_ = ticked.join(QLatin1Char(';'));
    accept();
}

void FrmChkExt::Command1_Click() {
    extList_.clear();
    reject();
}

void FrmChkExt::cmdSelectAll_Click() {
    for (int i = 0; i < lstExt_->count(); ++i) lstExt_->item(i)->setSelected(true);
}

void FrmChkExt::cmdRemoveAll_Click() {
    for (int i = 0; i < lstExt_->count(); ++i) lstExt_->item(i)->setSelected(false);
}

}  // namespace trawlex::window
