#include "window/folder_tree_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace trawlex::window {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kPopulatedRole = Qt::UserRole + 1;

QString ChildPath(const QString& parent, const QString& name) {
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

QString WithoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

bool HasSubfolders(const QString& path) {
    return !QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty();
}

}  // namespace

FolderTreeDialog::FolderTreeDialog(QWidget* owner, const QString& startFolder, const QString& title)
    : QDialog(owner) {
    setObjectName(QStringLiteral("FolderTreeDialog"));
    setWindowTitle(QStringLiteral("フォルダの参照"));
    title_ = new QLabel(title, this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("tvwFolders"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->setMinimumWidth(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(status_);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    resize(360, 420);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { Populate(item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        // A folder without a path (none here) would leave the line as it was.
        if (item) status_->setText(item->data(0, kPathRole).toString());
        ok_->setEnabled(item != nullptr);
    });

    AddFolder(nullptr, QStringLiteral("/"), QStringLiteral("/"));
    QString start = WithoutTrailingSeparator(QDir::cleanPath(startFolder));
    while (!start.isEmpty() && !QFileInfo(start).isDir()) {
        const QString above = QFileInfo(start).path();
        start = above == start ? QString() : above;
    }
    if (start.isEmpty() || !QDir::isAbsolutePath(start)) start = QStringLiteral("/");
    SelectPath(start);
}

QTreeWidgetItem* FolderTreeDialog::AddFolder(QTreeWidgetItem* parent, const QString& path,
                                             const QString& label) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    item->setText(0, label);
    item->setData(0, kPathRole, path);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    item->setChildIndicatorPolicy(HasSubfolders(path)
                                      ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return item;
}

void FolderTreeDialog::Populate(QTreeWidgetItem* item) {
    if (!item || item->data(0, kPopulatedRole).toBool()) return;
    item->setData(0, kPopulatedRole, true);
    const QString path = item->data(0, kPathRole).toString();
    // Hidden folders are left out, as the shell's browser does by default; one on the way
    // to the start folder is added by Child.
    const QStringList names =
        QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) AddFolder(item, ChildPath(path, name), name);
}

QTreeWidgetItem* FolderTreeDialog::Child(QTreeWidgetItem* item, const QString& name) {
    Populate(item);
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == name) return item->child(i);
    }
    const QString path = ChildPath(item->data(0, kPathRole).toString(), name);
    if (!QFileInfo(path).isDir()) return nullptr;
    return AddFolder(item, path, name);
}

bool FolderTreeDialog::SelectPath(const QString& folder) {
    const QString clean = WithoutTrailingSeparator(QDir::cleanPath(folder));
    if (!clean.startsWith(QLatin1Char('/'))) return false;
    QTreeWidgetItem* item = tree_->topLevelItem(0);
    for (const QString& name : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        item->setExpanded(true);
        item = Child(item, name);
        if (!item) return false;
    }
    tree_->setCurrentItem(item);
    tree_->scrollToItem(item);
    return true;
}

QString FolderTreeDialog::CurrentPath() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, kPathRole).toString() : QString();
}

QString FolderTreeDialog::StatusText() const {
    return status_->text();
}

}  // namespace trawlex::window
