// row-filter-show FOLDER SEARCH [FILTER [MODE]]
// Opens the search window, searches FOLDER (all files, subfolders too) for SEARCH in MODE
// (0 plain, 1 wildcard, 2 regex, 3 word), types FILTER into the filter box and stays open,
// so the highlighted matches and the filter can be looked at.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "window/frm_add_in.h"
#include "window/result_list.h"
#include "window/search_wait.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    QString folder = QString::fromLocal8Bit(argv[1]);
    if (!folder.endsWith('/')) folder += '/';
    trawlex::window::frmAddIn window(nullptr, folder);
    window.resize(900, 520);
    window.show();
    window.cmbSearchArea->setCurrentIndex(5);  // ファイル（全て）
    window.txtFilepath->setText(folder);
    window.txtSearchStr->setEditText(QString::fromLocal8Bit(argv[2]));
    const int mode = argc > 4 ? std::atoi(argv[4]) : 0;
    if (mode >= 0 && mode < 4) window.optSearch[mode]->setChecked(true);
    trawlex::window::RunSearch(window);
    if (argc > 3) window.edtRowFilter->setText(QString::fromLocal8Bit(argv[3]));
    if (window.CurrentList().ShownRowCount() > 1) window.CurrentList().SelectRow(1);
    return app.exec();
}
