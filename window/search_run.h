#pragma once
// One search run of the search window: from the start button to the finish steps that
// restore the idle look. Start takes the steps up to the scan; the scan then goes on in
// slices (RunSlice), each a short while of work, so the event loop runs between them. A
// slice ends before a stretch of lines (ScanHost::SteadyStretch) or between two files; the
// text being scanned waits in a fiber for the next slice. The run reads the mode and the
// binary flag from the controls before every line (before every stretch, which nothing can
// change them in) and adds each hit to the tab that is current at that moment. The columns
// are fitted to the new rows at the end of each slice and at the end of the run.

#include <QDeadlineTimer>
#include <QString>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "host/module_search.h"
#include "search/folder_search.h"
#include "search/run_status.h"
#include "window/fiber.h"

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
    // How long the columns may be fitted to the rows found in a slice, at its end; the rest
    // are fitted at the end of the next one.
    static constexpr int kFitBudgetMs = 5;

    explicit SearchRun(frmAddIn& window);

    // The steps up to the scan. False when the run ended there, its finish steps taken.
    bool Start();
    // One slice of the scan. True when the run has ended: the summary and the finish steps
    // are taken once, in the last slice.
    bool RunSlice();
    // The rest of the run at once, from outside a slice: with the stop flag set, only the
    // end of the text being scanned and the finish steps.
    void EndNow();
    // Whether a slice is under way (the caller is inside it).
    bool InSlice() const { return fiber_.Running(); }

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
    enum class Next { Scan, Summary, Finish };

    Next Run();
    Next SearchInArea();
    Next SearchFolderArea(bool chooseExtensions);
    // Scans until the slice's time is spent or the scan is over; what follows the scan.
    Next ScanSlice();
    // A slice that ends at `end` (or with the run); true when the run has ended.
    bool Slice(timespec end);
    // Gives the fiber the next text to scan; false when there is none.
    bool StartNextText();
    // Runs `step`; a failure shows in the status line and ends the run.
    template <typename Step>
    void Guarded(Step&& step);
    void End();
    void Summary();
    void Finish();
    bool MinimizeWhileSeek() const;
    // Fits the columns of the list the rows go to to the rows added since the last fit.
    void FitNewRows(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

    frmAddIn& window_;
    Next next_ = Next::Finish;
    std::string search_;
    Fiber fiber_;
    // The area being scanned: the host's modules (searched in one go), or a folder walk.
    SearchArea area_ = SearchArea::None;
    bool modulesPending_ = false;
    std::optional<Result<ModuleSearchEnd>> modulesEnd_;
    std::optional<FolderWalker> walker_;
    FileBuffer buffer_;
    timespec sliceEnd_{};
    EncodingChoice fileEncoding_;
    bool waitCursor_ = false;
    int skippedEntries_ = 0;
    std::int64_t untestedLines_ = 0;
    // The last document whose modules could not be read; the summary keeps naming it.
    std::string documentProblem_;
    ResultList* filling_ = nullptr;  // the list the last row went to
};

}  // namespace trawlex::window
