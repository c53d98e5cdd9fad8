#include "vbide/ide_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

#include "vbide/addin_manager.h"
#include "vbide/addin_manager_dialog.h"
#include "vbide/ide_command_bars.h"
#include "vbide/ide_host.h"
#include "vbide/ide_icons.h"
#include "vbide/ide_workspace.h"

namespace trawlex::vbide {
namespace {

constexpr const char* kVbideVersion = "1.0";
constexpr int kProjectRole = Qt::UserRole;
constexpr int kComponentRole = Qt::UserRole + 1;

QString FolderOfKind(VbModuleKind kind) {
    switch (kind) {
        case VbModuleKind::Form:
            return "Forms";
        case VbModuleKind::Standard:
            return "Modules";
        case VbModuleKind::Class:
            return "Class Modules";
        case VbModuleKind::UserControl:
            return "User Controls";
        case VbModuleKind::PropertyPage:
            return "Property Pages";
        case VbModuleKind::UserDocument:
            return "User Documents";
        case VbModuleKind::Designer:
            return "Designers";
    }
    return "Modules";
}

QString FileName(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

}  // namespace

IdeWindow::IdeWindow(Flavour flavour, QWidget* parent)
    : QMainWindow(parent),
      flavour_(flavour),
      area_(new QMdiArea(this)),
      explorer_(new QTreeWidget(this)),
      workspace_(new IdeWorkspace(area_, this)),
      caret_(new QLabel(this)) {
    setObjectName("vbide");
    setWindowIcon(EditorIcon());
    area_->setObjectName("MdiArea");
    setCentralWidget(area_);

    explorer_->setObjectName("ProjectExplorer");
    explorer_->setHeaderHidden(true);
    auto* dock = new QDockWidget("Project", this);
    dock->setObjectName("ProjectDock");
    dock->setWidget(explorer_);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    connect(explorer_, &QTreeWidget::itemActivated, this, &IdeWindow::OpenItem);
    connect(workspace_, &IdeWorkspace::projectsChanged, this, &IdeWindow::RefreshExplorer);
    connect(area_, &QMdiArea::subWindowActivated, this, [this] {
        UpdateTitle();
        WatchCaret();
    });

    bars_ = new IdeCommandBarSet(this, [this] { return host_->ClipboardPicture(); });
    host_ = std::make_unique<IdeHost>(flavour, *workspace_, *bars_);
    BuildBars();
    caret_->setObjectName("lblCaret");
    statusBar()->addPermanentWidget(caret_);
    statusBar()->showMessage("Ready");
    UpdateTitle();
    resize(1000, 700);
}

IdeWindow::~IdeWindow() {
    // Add-ins take their controls away while the bars still exist.
    host_->Manager().DisconnectAll(host::ext_dm_HostShutdown);
    workspace_->CloseAll();
    host_.reset();
}

void IdeWindow::BuildBars() {
    QMenu* file = menuBar()->addMenu("&File");
    QAction* open = file->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                    "&Open Project...", this, &IdeWindow::OnOpen);
    open->setShortcut(QKeySequence::Open);
    QAction* save = file->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), "&Save",
                                    this, &IdeWindow::OnSave);
    save->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction("E&xit", this, &QWidget::close);

    QMenu* addins = menuBar()->addMenu("&Add-Ins");
    addins->setObjectName("Add-Ins");
    addins->addAction("&Add-In Manager...", this, &IdeWindow::OnAddinManager);
    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("Tools");
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help");
    help->addAction(EditorIcon(), "&About vbide...", this, &IdeWindow::ShowAbout);

    auto* standard = new QToolBar("標準", this);
    standard->setObjectName("標準");
    standard->addAction(open);
    standard->addAction(save);
    addToolBar(standard);

    bars_->AddBar("標準", standard);
    bars_->AddBar("Add-Ins", addins);
    bars_->AddBar("Tools", tools);
    bars_->AddBar("Help", help);
}

Status IdeWindow::OpenPath(const QString& path) {
    auto group = LoadVbAny(path.toStdString());
    if (!group) {
        statusBar()->showMessage(QString::fromStdString(group.error()));
        return Failure{group.error()};
    }
    workspace_->SetProjects(*group);
    host_->SetLastUsedPath(QFileInfo(path).absolutePath().toStdString());
    QStringList problems;
    for (const auto& p : group->projects)
        for (const auto& problem : p.problems) problems << QString::fromStdString(problem);
    statusBar()->showMessage(problems.isEmpty() ? "Opened " + QFileInfo(path).fileName()
                                                : "Not loaded: " + problems.join("; "));
    UpdateTitle();
    return {};
}

void IdeWindow::ConnectStartupAddins() {
    const auto failures = host_->Manager().ConnectStartupAddins();
    if (failures.empty()) return;
    QStringList lines;
    for (const auto& f : failures) lines << QString::fromStdString(f);
    statusBar()->showMessage("Add-in not loaded: " + lines.join("; "));
}

bool IdeWindow::HasUnsavedChanges() const {
    for (const auto& p : workspace_->Projects())
        for (const auto& c : p->Components())
            if (c->Modified()) return true;
    return false;
}

Status IdeWindow::SaveAll(bool allowLossy) {
    QStringList failures;
    int saved = 0;
    for (const auto& p : workspace_->Projects()) {
        for (const auto& c : p->Components()) {
            if (!c->Modified()) continue;
            if (Status s = c->Save(allowLossy); !s)
                failures << QString::fromStdString(s.error());
            else
                ++saved;
        }
    }
    if (!failures.isEmpty()) {
        statusBar()->showMessage(failures.join("; "));
        return Failure{failures.join("; ").toStdString()};
    }
    statusBar()->showMessage(QString("Saved %1 module(s)").arg(saved));
    return {};
}

void IdeWindow::OnSave() {
    if (SaveAll(false)) return;
    if (QMessageBox::question(
            this, "Save",
            statusBar()->currentMessage() + "\n\nSave anyway, writing '?' for those characters?") ==
        QMessageBox::Yes)
        static_cast<void>(SaveAll(true));  // it tells the outcome in the status bar
}

void IdeWindow::OnOpen() {
    if (HasUnsavedChanges() &&
        QMessageBox::question(this, "Open Project", "Discard the unsaved changes?") !=
            QMessageBox::Yes)
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, "Open Project", QString::fromStdString(host_->LastUsedPath().value_or("")),
        "Projects and modules (*.vbp *.vbg *.bas *.cls *.frm *.ctl *.dsr *.pag *.dob);;"
        "All files (*)");
    // OpenPath tells what it opened, or why not, in the status bar.
    if (!path.isEmpty()) static_cast<void>(OpenPath(path));
}

void IdeWindow::ShowAbout() {
    QMessageBox box(QMessageBox::NoIcon, "About vbide",
                    "<b>vbide</b> " + QString(kVbideVersion) + "<p>A small stand-in for the " +
                        QString::fromStdString(TitleOf(flavour_)) +
                        " editor: it opens Visual Basic projects and modules, shows their code and "
                        "hosts the add-ins registered for it.</p>"
                        "<p>It is not a product of Microsoft.</p>",
                    QMessageBox::Ok, this);
    box.setObjectName("AboutVbide");
    box.setIconPixmap(EditorIcon().pixmap(32, 32));
    box.setTextFormat(Qt::RichText);
    box.exec();
}

void IdeWindow::OnAddinManager() {
    AddinManagerDialog dialog(host_->Manager(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    QStringList lines;
    for (const auto& f : dialog.Apply()) lines << QString::fromStdString(f);
    if (!lines.isEmpty()) statusBar()->showMessage("Add-in: " + lines.join("; "));
}

void IdeWindow::RefreshExplorer() {
    explorer_->clear();
    const auto& projects = workspace_->Projects();
    for (int p = 0; p < static_cast<int>(projects.size()); ++p) {
        const auto& project = projects[static_cast<std::size_t>(p)];
        auto* top = new QTreeWidgetItem(explorer_);
        top->setText(0, QString::fromStdString(project->Name().value()) + " (" +
                            FileName(project->FilePath()) + ")");
        top->setData(0, kProjectRole, p);
        top->setData(0, kComponentRole, -1);
        std::map<QString, QTreeWidgetItem*> folders;
        const auto& components = project->Components();
        for (int c = 0; c < static_cast<int>(components.size()); ++c) {
            const auto& component = components[static_cast<std::size_t>(c)];
            QTreeWidgetItem*& folder = folders[FolderOfKind(component->Kind())];
            if (!folder) {
                folder = new QTreeWidgetItem(top);
                folder->setText(0, FolderOfKind(component->Kind()));
                folder->setData(0, kProjectRole, p);
                folder->setData(0, kComponentRole, -1);
            }
            auto* item = new QTreeWidgetItem(folder);
            item->setText(0, QString::fromStdString(component->Name().value()) + " (" +
                                 FileName(component->FilePath()) + ")");
            item->setData(0, kProjectRole, p);
            item->setData(0, kComponentRole, c);
        }
    }
    explorer_->expandAll();
}

void IdeWindow::OpenItem(QTreeWidgetItem* item) {
    if (!item) return;
    const auto& projects = workspace_->Projects();
    const int p = item->data(0, kProjectRole).toInt();
    const int c = item->data(0, kComponentRole).toInt();
    if (p < 0 || p >= static_cast<int>(projects.size())) return;
    const auto& project = projects[static_cast<std::size_t>(p)];
    workspace_->ChooseProject(project);
    if (c < 0 || c >= static_cast<int>(project->Components().size())) return;
    auto pane = workspace_->PaneFor(*project->Components()[static_cast<std::size_t>(c)]);
    if (Status shown = workspace_->ShowPane(*pane); !shown) {
        statusBar()->showMessage(QString::fromStdString(shown.error()));
        return;
    }
    pane->Editor()->setFocus();
}

void IdeWindow::WatchCaret() {
    disconnect(caretConnection_);
    caret_->clear();
    auto pane = workspace_->ActivePane();
    if (!pane || !pane->Editor()) return;
    auto show = [this, weak = std::weak_ptr<IdeCodePane>(pane)] {
        auto p = weak.lock();
        auto s = p ? p->GetSelection() : Result<host::Selection>(Failure{""});
        caret_->setText(s ? QString("Ln %1, Col %2").arg(s->endLine).arg(s->endColumn) : "");
    };
    caretConnection_ = connect(pane->Editor(), &QPlainTextEdit::cursorPositionChanged, this, show);
    show();
}

void IdeWindow::UpdateTitle() {
    auto project = workspace_->ActiveProject();
    const QString title = QString::fromStdString(TitleOf(flavour_));
    setWindowTitle(project ? QString::fromStdString(project->Name().value()) + " - " + title
                           : title);
}

void IdeWindow::closeEvent(QCloseEvent* event) {
    if (HasUnsavedChanges()) {
        const auto answer = QMessageBox::question(
            this, QString::fromStdString(TitleOf(flavour_)), "Save changes to the modules?",
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !SaveAll())) {
            event->ignore();
            return;
        }
    }
    host_->Manager().DisconnectAll(host::ext_dm_HostShutdown);
    event->accept();
}

}  // namespace trawlex::vbide
