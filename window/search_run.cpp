#include "window/search_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <exception>
#include <limits>
#include <stdexcept>

#include "host/module_search.h"
#include "office/document_search.h"
#include "office/office_document.h"
#include "window/control_settings.h"
#include "window/external_grep.h"
#include "window/file_encoding_setting.h"
#include "window/frm_add_in.h"
#include "window/frm_chk_ext.h"
#include "window/result_list.h"
#include "window/search_history.h"
#include "window/settings_failure.h"
#include "window/text_edit.h"

namespace trawlex::window {

namespace {

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return now;
}

timespec Later(timespec from, int milliseconds) {
    const long nanoseconds = from.tv_nsec + milliseconds * 1000000L;
    from.tv_sec += nanoseconds / 1000000000L;
    from.tv_nsec = nanoseconds % 1000000000L;
    return from;
}

bool Reached(const timespec& time) {
    const timespec now = Now();
    return now.tv_sec != time.tv_sec ? now.tv_sec > time.tv_sec : now.tv_nsec >= time.tv_nsec;
}

// Finish steps go on past a failing step.
template <typename Step>
void RunStep(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

std::string SkippedNote(int skippedEntries, std::int64_t untestedLines) {
    std::string note;
    if (skippedEntries > 0) {
        note += "（読めなかったファイル " + std::to_string(skippedEntries) + " 件）";
    }
    if (untestedLines > 0) {
        note += "（調べきれなかった行 " + std::to_string(untestedLines) + " 件）";
    }
    return note;
}

// Names the last document whose modules could not be read, after the counts.
static std::string DocumentNote(const std::string& problem) {
    return problem.empty() ? std::string() : "  " + problem;
}

SearchRun::SearchRun(frmAddIn& window) : window_(window), fileEncoding_(ReadFileEncodingSetting()) {
    SetSteadyStretch(window.YieldIntervalMs() > 0 ? window.ScanStretchBytes() : 0);
}

template <typename Step>
void SearchRun::Guarded(Step&& step) {
    try {
        step();
        return;
    } catch (const std::exception& failure) {
        window_.SetStatusText(
            QString::fromStdString(std::string(kStatusErrorPrefix) + failure.what()));
    } catch (...) {
        window_.SetStatusText(QString::fromStdString(std::string(kStatusErrorPrefix)));
    }
    next_ = Next::Finish;
}

bool SearchRun::Start() {
    Guarded([&] { next_ = Run(); });
    if (next_ == Next::Scan) return false;
    End();
    return true;
}

bool SearchRun::RunSlice() {
    return Slice(Later(Now(), window_.YieldIntervalMs()));
}

void SearchRun::EndNow() {
    Slice(timespec{std::numeric_limits<time_t>::max(), 0});
}

bool SearchRun::Slice(timespec end) {
    sliceEnd_ = end;
    Guarded([&] { next_ = ScanSlice(); });
    if (next_ == Next::Scan) {
        // The rows found in this slice are measured before anything can show them, for a
        // short while at most.
        FitNewRows(QDeadlineTimer(kFitBudgetMs));
        return false;
    }
    End();
    return true;
}

void SearchRun::End() {
    if (next_ == Next::Summary) Guarded([&] { Summary(); });
    Finish();
}

SearchRun::Next SearchRun::Run() {
    if (TrimSpaces(window_.txtSearchStr->currentText().toStdString()).empty()) return Next::Finish;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
    window_.SetStopRequested(false);
    window_.CancelButton->setVisible(true);
    window_.CancelButton->setEnabled(true);
    window_.cmdSearchStart->setVisible(false);
    ReportSettingsSaveFailure(
        AddHistory(*window_.txtSearchStr, QString::fromStdString(TrimSpaces(
                                              window_.txtSearchStr->currentText().toStdString()))),
        &window_);
    window_.CurrentList().Clear();
    window_.SetStatusText(QString::fromUtf8(kStatusSearching));
    if (MinimizeWhileSeek()) {
        window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
    }
    search_ = TrimSpaces(window_.txtSearchStr->currentText().toStdString());
    window_.CurrentList().SetFirstHeader(QString::fromUtf8(kModuleHeader));
    // An invalid regular expression would match nothing in silence.
    const std::string patternError = window_.Engine().PatternError(search_, CurrentOptions());
    if (!patternError.empty()) throw std::runtime_error(patternError);
    window_.CurrentList().SetHighlight(search_, CurrentOptions(), window_.WantedRegions());
    return SearchInArea();
}

SearchRun::Next SearchRun::SearchInArea() {
    const SearchArea area = area_ = window_.CurrentArea();
    switch (area) {
        case SearchArea::Procedure:
        case SearchArea::Module:
        case SearchArea::Project:
        case SearchArea::OpenModules:
            if (!window_.Host()) return area <= SearchArea::Module ? Next::Finish : Next::Summary;
            modulesPending_ = true;
            return Next::Scan;
        case SearchArea::FilesChosen:
            return SearchFolderArea(true);
        case SearchArea::FilesAll:
            return SearchFolderArea(false);
        case SearchArea::None:
            break;
    }
    return Next::Summary;
}

SearchRun::Next SearchRun::SearchFolderArea(bool chooseExtensions) {
    window_.CurrentList().SetFirstHeader(QString::fromUtf8(kFileHeader));
    if (chooseExtensions) {
        window_.SetExtList({});
        window_.hide();
        window_.SetExtList(FrmChkExt::Choose(window_.txtFilepath->text(), &window_));
        window_.show();
        if (window_.ExtList().isEmpty()) return Next::Finish;
    } else {
        window_.SetExtList(QStringLiteral("*"));
    }
    const std::string folder = window_.txtFilepath->text().toStdString();
    if (window_.optSearch[static_cast<int>(SearchMode::Hidemaru)]->isChecked()) {
        window_.SetStatusText(HidemaruGrep(window_.EditorTemplate(), folder, search_,
                                           window_.chkCase->checkState() == Qt::Checked,
                                           window_.chkSubFolders->checkState() == Qt::Checked));
        return Next::Finish;
    }
    if (std::string missing = MissingFolder(folder); !missing.empty()) {
        SetStatus(std::move(missing));
        return Next::Summary;
    }
    walker_.emplace(folder, *this);
    return Next::Scan;
}

SearchRun::Next SearchRun::ScanSlice() {
    for (;;) {
        if (fiber_.Idle() && !StartNextText()) break;
        if (!fiber_.Resume()) return Next::Scan;  // suspended: the slice's time is spent
        if (Reached(sliceEnd_)) return Next::Scan;
    }
    if (!modulesEnd_) return Next::Summary;
    if (!*modulesEnd_) throw std::runtime_error(modulesEnd_->error());
    return **modulesEnd_ == ModuleSearchEnd::Searched ? Next::Summary : Next::Finish;
}

bool SearchRun::StartNextText() {
    if (modulesPending_) {
        modulesPending_ = false;
        fiber_.Start([this] {
            modulesEnd_ = SearchModules(*window_.Host(), area_, search_, *this, window_.Engine());
        });
        return true;
    }
    if (!walker_) return false;
    std::optional<FolderWalkStep> step = walker_->Next();
    if (!step) return false;
    fiber_.Start([this, step = std::move(*step)] {
        SearchWalkStep(step, search_, *this, window_.Engine(), buffer_);
    });
    return true;
}

void SearchRun::Summary() {
    SaveTabState(window_, window_.CurrentTab(), window_.TabStates());
    const int rows = window_.CurrentList().RowCount();
    window_.SetStatusText(QString::fromStdString(RunSummaryText(rows, window_.StopRequested()) +
                                                 SkippedNote(skippedEntries_, untestedLines_) +
                                                 DocumentNote(documentProblem_)));
}

void SearchRun::Finish() {
    RunStep([&] { FitNewRows(); });
    RunStep([&] {
        if (window_.StatusText() == QString::fromUtf8(kStatusSearching)) {
            window_.SetStatusText(QString::fromUtf8(kStatusCancelled));
        }
    });
    RunStep([&] {
        window_.cmdSearchStart->setVisible(true);
        window_.CancelButton->setVisible(false);
    });
    RunStep([&] {
        if (!MinimizeWhileSeek()) return;
        // A window closed during the run stays hidden: only its state is restored.
        window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
        if (window_.isVisible()) {
            window_.raise();
            window_.activateWindow();
        }
    });
    RunStep([&] { window_.txtSearchStr->setFocus(); });
    RunStep([&] {
        if (waitCursor_) QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    });
}

bool SearchRun::MinimizeWhileSeek() const {
    return ParseSettingBool(
               ReadSetting(QStringLiteral("chkMinimizeWhileSeek"), QStringLiteral("False")))
        .value_or(false);
}

void SearchRun::Yield() {
    if (!fiber_.Running()) return;
    if (const auto& hook = window_.OnYield()) hook();
    if (Reached(sliceEnd_)) fiber_.Suspend();
}

bool SearchRun::StopRequested() const {
    return window_.StopRequested();
}

MatchOptions SearchRun::CurrentOptions() const {
    MatchOptions options;
    for (int i = 0; i < kModeCount; ++i) {
        if (window_.optSearch[i]->isChecked()) {
            options.mode = static_cast<SearchMode>(i);
            break;
        }
    }
    options.binary = window_.chkCase->checkState() == Qt::Checked;
    return options;
}

void SearchRun::AddRow(ResultRow row) {
    // The list shows a module inside a document as "path|module" in its name column.
    if (!row.module.empty()) row.name = RowDisplayName(row);
    ResultList& list = window_.CurrentList();
    if (&list != filling_) {
        // The tab changed: the rows of the list before it are measured now, all of them.
        FitNewRows();
        filling_ = &list;
    }
    list.AddRow(std::move(row));
}

void SearchRun::FitNewRows(QDeadlineTimer deadline) {
    if (filling_) filling_->FitColumnWidths(deadline);
}

RegionSet SearchRun::WantedRegions() const {
    return window_.WantedRegions();
}

std::string SearchRun::ExtList() const {
    return window_.ExtList().toStdString();
}

bool SearchRun::SearchSubfolders() const {
    return window_.chkSubFolders->checkState() == Qt::Checked;
}

void SearchRun::SetStatus(std::string text) {
    window_.SetStatusText(QString::fromStdString(text));
}

bool SearchRun::SearchOwnWay(const std::string& path, std::string_view bytes,
                             std::string_view search, MatchEngine& engine) {
    if (!office::IsOfficeDocumentName(path)) return false;
    office::SearchOfficeDocument(bytes, path, search, *this, engine,
                                 [this](const std::string& text) {
                                     documentProblem_ = text;
                                     SetStatus(text);
                                     EntrySkipped();
                                 });
    return true;
}

void SearchRun::EntrySkipped() {
    ++skippedEntries_;
}

void SearchRun::LineUntested(std::string_view, std::int64_t) {
    ++untestedLines_;
}

}  // namespace trawlex::window
