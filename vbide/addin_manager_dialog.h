#pragma once
// "Add-In Manager": the registered add-ins with their "Loaded/Unloaded" and
// "Load on Startup" boxes, applied on OK.

#include <QDialog>
#include <string>
#include <vector>

#include "vbide/addin_records.h"

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace trawlex::vbide {

class AddinManager;

class AddinManagerDialog : public QDialog {
    Q_OBJECT
  public:
    AddinManagerDialog(AddinManager& manager, QWidget* parent = nullptr);

    // Connects, disconnects and records start-up loading as the boxes now say. Returns a
    // line per change that failed; the other changes still take effect.
    std::vector<std::string> Apply();

    QTreeWidget* List() const { return list_; }
    QCheckBox* LoadedBox() const { return loaded_; }
    QCheckBox* StartupBox() const { return startup_; }

  private:
    struct Row {
        AddinRecord record;
        bool wantLoaded = false;
        bool wantStartup = false;
    };
    void ShowRow(int row);
    void UpdateBehaviorText(int row);

    AddinManager& manager_;
    std::vector<Row> rows_;
    QTreeWidget* list_;
    QLabel* description_;
    QCheckBox* loaded_;
    QCheckBox* startup_;
};

}  // namespace trawlex::vbide
