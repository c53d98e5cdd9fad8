#include "window/list_extras.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include "window/frm_add_in.h"
#include "window/jump_to_result.h"
#include "window/result_list.h"

namespace trawlex::window {

QString CountsText(const ResultList& list) {
    const ResultTableModel& model = list.Model();
    const int rows = model.RowCount();
    if (rows == 0 && !model.Filtering()) return {};
    const QString names = IsModuleList(list.FirstHeader()) ? QStringLiteral("モジュール")
                                                           : QStringLiteral("ファイル");
    if (!model.Filtering()) {
        return QStringLiteral("%1 件（%2 %3）").arg(rows).arg(model.NameCount()).arg(names);
    }
    return QStringLiteral("%1 / %2 件（%3 / %4 %5）")
        .arg(model.ShownRowCount())
        .arg(rows)
        .arg(model.ShownNameCount())
        .arg(model.NameCount())
        .arg(names);
}

RegionSet RegionsOfMatchPlace(int index) {
    switch (index) {
        case 1:
            return static_cast<RegionSet>(CodeRegion::Code);
        case 2:
            return static_cast<RegionSet>(CodeRegion::Comment);
        case 3:
            return static_cast<RegionSet>(CodeRegion::String);
        default:
            return kAllRegions;
    }
}

ListExtras::ListExtras(frmAddIn& window) : QObject(&window), window_(window) {
    QStatusBar* bar = window.stbSelected;
    counts_ = new QLabel(bar);
    counts_->setObjectName(QStringLiteral("lblCounts"));

    // "cmb": saved per tab and in the settings like the window's other combo boxes.
    matchPlace_ = new QComboBox(bar);
    matchPlace_->setObjectName(QStringLiteral("cmbMatchPlace"));
    for (const char* item : kMatchPlaceItems) matchPlace_->addItem(QString::fromUtf8(item));
    matchPlace_->setToolTip(
        QStringLiteral("該当箇所がコード・コメント・文字列のどこにあるかで絞り込みます。"));

    // Not "txt": a filter is a passing look at one tab's rows, not a setting to keep.
    rowFilter_ = new QLineEdit(bar);
    rowFilter_->setObjectName(QStringLiteral("edtRowFilter"));
    rowFilter_->setPlaceholderText(QStringLiteral("結果を絞り込み"));
    rowFilter_->setToolTip(QStringLiteral("入力した文字を含む行だけを表示します。"));
    rowFilter_->setClearButtonEnabled(true);
    rowFilter_->setMinimumWidth(120);
    rowFilter_->installEventFilter(this);

    const int height = bar->height() - 2;
    for (QWidget* control :
         {static_cast<QWidget*>(matchPlace_), static_cast<QWidget*>(rowFilter_)}) {
        control->setMaximumHeight(height);
    }
    bar->addPermanentWidget(counts_);
    bar->addPermanentWidget(matchPlace_);
    bar->addPermanentWidget(rowFilter_);

    connect(rowFilter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { window_.CurrentList().Model().SetFilter(text); });
    for (ResultList* list : window.Lists()) {
        const int tab = list->Index();
        ResultTableModel* model = &list->Model();
        const auto update = [this, tab] { UpdateCounts(tab); };
        connect(model, &QAbstractItemModel::rowsInserted, this, update);
        connect(model, &QAbstractItemModel::rowsRemoved, this, update);
        connect(model, &QAbstractItemModel::modelReset, this, update);
        connect(model, &QAbstractItemModel::headerDataChanged, this, update);
        connect(model, &ResultTableModel::CountsChanged, this, update);
    }
}

bool ListExtras::eventFilter(QObject* watched, QEvent* event) {
    // The rows are folded for the filter while the user is about to type, not at the
    // first key.
    if (watched == rowFilter_ && event->type() == QEvent::FocusIn) {
        window_.CurrentList().Model().PrepareFilter();
    }
    return QObject::eventFilter(watched, event);
}

void ListExtras::UpdateCounts(int tab) {
    const QString text = CountsText(window_.List(tab));
    window_.tabPane[tab]->setToolTip(text);
    if (tab == window_.CurrentTab()) counts_->setText(text);
}

void ListExtras::CurrentTabChanged() {
    const QString filter = window_.CurrentList().Model().FilterText();
    if (rowFilter_->text() != filter) rowFilter_->setText(filter);
    UpdateCounts(window_.CurrentTab());
}

}  // namespace trawlex::window
