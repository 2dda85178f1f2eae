#pragma once

// The one result type of operations that can fail: a value, or the problem
// that stopped it, naming the file and the reason in words a player can read.
// Operations return problems; only the app turns them into message boxes.
// Errors are values; nothing here throws.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace quorvik::platform {

struct Problem {
    enum class Kind {
        Failed,         // the operation failed; the reason says why
        NotFound,       // the file is not there
        Unreadable,     // the file could not be read; the reason says why
        Unrecognised,   // the file holds nothing the tool understands
        WriteFailed,    // the file could not be written; it keeps its old bytes
        DeleteFailed,   // the file could not be removed
        FolderMissing,  // a folder the step needs is not there; the reason says what could not be
                        // done
        NotANumber,     // a value that must be a number is not one; the reason holds the value
        NotApplied,     // a value the step leaves alone on purpose; the reason holds the value
        Busy,           // another program holds what is needed, for now
        Refused,        // a typed value or name that cannot be taken; the reason says what can
    };

    Kind kind = Kind::Failed;
    std::filesystem::path path;  // the file or folder concerned; empty when none
    std::string reason;          // UTF-8

    bool operator==(const Problem&) const = default;
};

// A value or a name that cannot be taken, and what can.
inline Problem refused(std::string reason) {
    return Problem{Problem::Kind::Refused, {}, std::move(reason)};
}

// A file that could not be read, and why.
inline Problem unreadable(std::filesystem::path path, std::string reason) {
    return Problem{Problem::Kind::Unreadable, std::move(path), std::move(reason)};
}

template <typename T>
class Expected {
public:
    Expected(T value) : value_(std::move(value)) {}
    Expected(Problem problem) : problem_(std::move(problem)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Problem& problem() const { return *problem_; }

private:
    std::optional<T> value_;
    std::optional<Problem> problem_;
};

// Success with nothing to give back, or the problem.
template <>
class Expected<void> {
public:
    static Expected success() { return Expected{}; }
    static Expected failure(std::string reason) {
        return Expected{Problem{Problem::Kind::Failed, {}, std::move(reason)}};
    }
    Expected(Problem problem) : problem_(std::move(problem)) {}

    bool ok() const { return !problem_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Problem& problem() const { return *problem_; }
    // The reason in words; empty on success.
    const std::string& reason() const {
        static const std::string none;
        return problem_ ? problem_->reason : none;
    }

private:
    Expected() = default;
    std::optional<Problem> problem_;
};

// The outcome of one operation on the machine.
using Status = Expected<void>;

}  // namespace quorvik::platform
