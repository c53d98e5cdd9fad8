#pragma once
// Outcome of an operation that can fail with a description the caller may show,
// the way a failing COM call carries its error text.

#include <optional>
#include <string>
#include <utility>

namespace trawlex {

struct Failure {
    std::string description;
};

// Reading the value of a failed result throws std::bad_optional_access rather than
// reading an empty slot.
template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.description)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return value_.value(); }
    T& value() & { return value_.value(); }
    T&& value() && { return std::move(value_.value()); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    T value_or(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    // Empty when the operation succeeded.
    const std::string& error() const { return error_; }

  private:
    std::optional<T> value_;
    std::string error_;
};

// For operations that return nothing but may fail.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Failure failure) : error_(std::move(failure.description)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

  private:
    std::string error_;
    bool failed_ = false;
};

}  // namespace trawlex
