#pragma once
// One search run of the search window: from the start button to the finish steps that
// restore the idle look. While it scans, it pumps the event loop so the window stays
// responsive; it reads the mode and the binary flag from the controls before every line
// and adds each hit to the tab that is current at that moment.

#include <QString>
#include <ctime>
#include <string>

#include "search/folder_search.h"
#include "search/run_status.h"

namespace trawlex::window {

class frmAddIn;

inline constexpr const char* kStatusSearching = "*** 検索中 ***";
inline constexpr const char* kStatusCancelled = "キャンセルされました";
inline constexpr const char* kModuleHeader = "ﾓｼﾞｭｰﾙ名";
inline constexpr const char* kFileHeader = "ﾌｧｲﾙ名";

class SearchRun final : public FolderSearchHost {
  public:
    explicit SearchRun(frmAddIn& window);

    // Runs the search and then, whatever happened, the finish steps once.
    void Execute();

    // ScanHost
    void Yield() override;
    bool StopRequested() const override;
    MatchOptions CurrentOptions() const override;
    void AddRow(ResultRow row) override;
    // FolderSearchHost
    std::string ExtList() const override;
    bool SearchSubfolders() const override;
    void SetStatus(std::string text) override;
    bool SearchOwnWay(const std::string& path, std::string_view bytes, std::string_view search,
                      MatchEngine& engine) override;

  private:
    enum class Next { Summary, Finish };

    Next Run();
    Next SearchInArea(const std::string& search);
    Next SearchFolderArea(const std::string& search, bool chooseExtensions);
    void Summary();
    void Finish();
    bool MinimizeWhileSeek() const;

    frmAddIn& window_;
    bool waitCursor_ = false;
    // The last document whose modules could not be read; the summary keeps naming it.
    std::string documentProblem_;
    timespec lastPump_{};
};

}  // namespace trawlex::window
