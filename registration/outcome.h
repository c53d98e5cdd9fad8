#pragma once
// What an operation of several steps leaves behind: every failed step with its description
// and an error number as the installer's messages show it.

#include <string>
#include <vector>

namespace trawlex::registration {

// Error numbers of the steps, as the Visual Basic run-time numbers them.
inline constexpr int kFileNotFound = 53;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccessError = 75;

struct StepFailure {
    std::string step;         // what was attempted, e.g. "register trawlex.dll"
    std::string description;  // why it failed
    int number = kPathFileAccessError;
};

class [[nodiscard]] Outcome {
  public:
    void Add(StepFailure failure) { failures_.push_back(std::move(failure)); }
    // A step whose failure does not fail the operation, still worth telling.
    void AddNote(StepFailure note) { notes_.push_back(std::move(note)); }
    void Append(const Outcome& other);

    bool ok() const { return failures_.empty(); }
    explicit operator bool() const { return ok(); }
    const std::vector<StepFailure>& failures() const { return failures_; }
    const std::vector<StepFailure>& notes() const { return notes_; }
    // The failure a message box reports: the last one recorded. Only when !ok().
    const StepFailure& last() const { return failures_.back(); }

  private:
    std::vector<StepFailure> failures_;
    std::vector<StepFailure> notes_;
};

// The error number for a failed system call's errno.
int ErrorNumberFromErrno(int error);

}  // namespace trawlex::registration
