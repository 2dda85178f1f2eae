#pragma once

// The outcome of one operation on the machine: success, or what went wrong in
// words a player can read. Errors are values; nothing here throws.

#include <string>
#include <utility>

namespace quorvik::platform {

class Status {
public:
    static Status success() { return Status{}; }
    static Status failure(std::string reason) { return Status{std::move(reason)}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

private:
    Status() = default;
    explicit Status(std::string reason) : failed_(true), reason_(std::move(reason)) {}

    bool failed_ = false;
    std::string reason_;
};

}  // namespace quorvik::platform
