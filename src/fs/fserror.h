#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace huddlex::fs {

// Start-up skips PathNotFound but stops at anything else, so the kinds must stay apart.
enum class ErrorKind {
    PathNotFound,   // a folder on the way does not exist
    FileNotFound,   // the folder exists, the file does not
    AlreadyExists,  // creating something that is already there
    NotRegularFile, // a folder, FIFO or device where a file was expected
    AccessDenied,
    DiskFull,
    Other,
};

// How messages name a file or folder: by its Windows path, as shownPath shows it, or by the
// path given, as it is (a host path the user named).
enum class Naming { Windows, AsGiven };

struct Error {
    ErrorKind kind = ErrorKind::Other;
    QString message; // for the user: says what failed and where
};

// Success, or the reason for failure.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}
    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }
    ErrorKind kind() const { return error_->kind; }
    QString message() const { return error_ ? error_->message : QString(); }

private:
    std::optional<Error> error_;
};

// A value, or the reason there is none.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error)) {}
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const Error& error() const { return *error_; }
    ErrorKind kind() const { return error_->kind; }
    QString message() const { return error_ ? error_->message : QString(); }
    Status status() const { return ok() ? Status() : Status(*error_); }

private:
    std::optional<T> value_;
    std::optional<Error> error_;
};

} // namespace huddlex::fs
