#pragma once
// One search run of the search window: from the start button to the finish steps that
// restore the idle look. While it scans, it pumps the event loop so the window stays
// responsive; it reads the mode and the binary flag from the controls before every line
// (before every stretch of lines between two pumps, which nothing can change them in) and
// adds each hit to the tab that is current at that moment. The columns are fitted to the
// new rows before each pump and at the end.

#include <QDeadlineTimer>
#include <QString>
#include <cstdint>
#include <ctime>
#include <string>

#include "search/folder_search.h"
#include "search/run_status.h"

namespace trawlex::window {

class frmAddIn;
class ResultList;

inline constexpr const char* kStatusSearching = "*** 検索中 ***";
inline constexpr const char* kStatusCancelled = "キャンセルされました";
inline constexpr const char* kModuleHeader = "ﾓｼﾞｭｰﾙ名";
inline constexpr const char* kFileHeader = "ﾌｧｲﾙ名";

// Added to the summary when entries of a folder walk could not be read, and when lines
// could not be tested within the work one line may take.
std::string SkippedNote(int skippedEntries, std::int64_t untestedLines);

class SearchRun final : public FolderSearchHost {
  public:
    // How long the columns may be fitted to the rows found since the last pump, before a pump;
    // the rest are fitted at the next one.
    static constexpr int kFitBudgetMs = 5;

    explicit SearchRun(frmAddIn& window);

    // Runs the search and then, whatever happened, the finish steps once.
    void Execute();

    // ScanHost
    void Yield() override;
    bool StopRequested() const override;
    MatchOptions CurrentOptions() const override;
    void AddRow(ResultRow row) override;
    RegionSet WantedRegions() const override;
    void LineUntested(std::string_view name, std::int64_t line) override;
    // The options dialog's choice, read once when the run starts.
    EncodingChoice FileEncoding() const override { return fileEncoding_; }
    // FolderSearchHost
    std::string ExtList() const override;
    bool SearchSubfolders() const override;
    void SetStatus(std::string text) override;
    bool SearchOwnWay(const std::string& path, std::string_view bytes, std::string_view search,
                      MatchEngine& engine) override;
    void EntrySkipped() override;

  private:
    enum class Next { Summary, Finish };

    Next Run();
    Next SearchInArea(const std::string& search);
    Next SearchFolderArea(const std::string& search, bool chooseExtensions);
    void Summary();
    void Finish();
    bool MinimizeWhileSeek() const;
    // Fits the columns of the list the rows go to to the rows added since the last fit.
    void FitNewRows(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

    frmAddIn& window_;
    EncodingChoice fileEncoding_;
    bool waitCursor_ = false;
    int skippedEntries_ = 0;
    std::int64_t untestedLines_ = 0;
    // The last document whose modules could not be read; the summary keeps naming it.
    std::string documentProblem_;
    timespec lastPump_{};
    ResultList* filling_ = nullptr;  // the list the last row went to
};

}  // namespace trawlex::window
