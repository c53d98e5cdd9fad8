#include "updater/frm_new_version.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "updater/install_version.h"
#include "updater/main_addin.h"
#include "updater/proxy_rule.h"
#include "updater/update_request.h"
#include "updater/update_server.h"
#include "updater/version_probe.h"

namespace trawlex::updater {

namespace {

using Icon = MessageBoxes::Icon;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CheckSettings DefaultCheckSettings() {
    return {DefaultServer(), UpdaterVersion(), DefaultTimeoutMs()};
}

frmNewVersion::frmNewVersion(host::HostApp* host, CheckSettings settings,
                             std::shared_ptr<MessageBoxes> boxes, QWidget* parent)
    : QDialog(parent),
      host_(host),
      settings_(std::move(settings)),
      boxes_(boxes ? std::move(boxes) : std::make_shared<MessageBoxes>()) {
    setObjectName("frmNewVersion");
    setWindowTitle("Trawlex Plus Updates");
    setAttribute(Qt::WA_DeleteOnClose);
    lstVersions = new QListWidget(this);
    lstVersions->setObjectName("lstVersions");
    lstVersions->setSortingEnabled(false);
    cmdVersion = new QPushButton("バージョン更新", this);
    cmdVersion->setObjectName("cmdVersion");
    cmdCancel = new QPushButton("キャンセル", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdVersion->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdVersion);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstVersions);
    layout->addLayout(buttons);
    resize(300, 240);

    connect(cmdVersion, &QPushButton::clicked, this, [this] { cmdVersion_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

frmNewVersion::~frmNewVersion() = default;

void frmNewVersion::WithProgress(const QString& label, const std::function<void()>& work) {
    QProgressDialog progress(label, "キャンセル", 0, 0, isVisible() ? this : nullptr);
    progress.setWindowTitle(kUpdaterTitle);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    connect(&progress, &QProgressDialog::canceled, this, [this] { CancelRequests(); });
    progress.show();
    busy_ = true;
    work();
    busy_ = false;
}

void frmNewVersion::CancelRequests() {
    if (HttpReq) HttpReq->Cancel();
}

bool frmNewVersion::Form_Load() {
    if (!boxes_->AskYesNo(this, "インターネット経由でアップデートを確認します", Icon::None)) {
        return false;
    }
    CurrentVersion = Q(VersionRow(settings_.current));
    auto fail = [this](const std::string& reason) {
        boxes_->Tell(this, "アップデートを確認できませんでした。\n" + Q(reason), Icon::Critical);
        return false;
    };
    Result<std::string> server = CheckServer(settings_.server);
    if (!server) return fail(server.error());
    Result<std::optional<ProxyServer>> proxy = ReadProxyRule();
    if (!proxy) return fail(proxy.error());
    HttpReq = new UpdateRequest(*server, *proxy, settings_.timeoutMs, this);

    Result<ProbeResult> probe = Failure{""};
    WithProgress("アップデートを確認しています...", [&] {
        probe = ProbeVersions([this](Version v) { return HttpReq->VersionExists(VersionKey(v)); },
                              settings_.current);
    });
    // Cancelling the check closes the window without a message.
    if (HttpReq->cancelled()) return false;
    if (!probe) return fail(probe.error());

    for (const Version& version : probe->versions) lstVersions->addItem(Q(VersionRow(version)));
    if (probe->selected >= 0) lstVersions->setCurrentRow(probe->selected);
    if (probe->nothingNewer() &&
        !boxes_->AskYesNo(this, "新しいバージョンはありません\n旧バージョンを参照しますか？",
                          Icon::Question)) {
        return false;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return true;
}

void frmNewVersion::cmdVersion_Click() {
    const QList<QListWidgetItem*> selected = lstVersions->selectedItems();
    if (selected.isEmpty() || busy_) return;
    const std::string key = KeyOfRow(selected.first()->text().toStdString());

    setEnabled(false);
    SetMainAddinLoaded(host_, false);
    Status installed = InstallVersion(key);
    // The new library, or the one that was there when the installation failed.
    SetMainAddinLoaded(host_, true);
    setEnabled(true);

    if (installed) {
        boxes_->Tell(this, "アップデート完了！", Icon::None);
    } else {
        boxes_->Tell(this, "アップデートに失敗しました。\n" + Q(installed.error()), Icon::Critical);
    }
    close();
}

void frmNewVersion::cmdCancel_Click() {
    close();
}

Status frmNewVersion::InstallVersion(const std::string& key) {
    if (!HttpReq) return Failure{"no version check has run"};
    HttpReq->Reset();
    Status installed = Failure{""};
    WithProgress(Q("Version " + key + " をダウンロードしています..."),
                 [&] { installed = updater::InstallVersion(*HttpReq, key); });
    return installed;
}

}  // namespace trawlex::updater
