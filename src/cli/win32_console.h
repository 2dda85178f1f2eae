#pragma once

// quorvik-cli.exe's standard output and error. The front end writes UTF-8; a
// console shows every letter only through the wide-character calls, whatever
// code page it is set to, while a file or a pipe gets the UTF-8 bytes as they are.

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace quorvik::cli::win32 {

// How many leading bytes of `utf8` end on a whole character. A character that a
// flush cuts in two waits for the rest of its bytes; bytes that cannot start
// or continue one are passed on (the conversion shows them as U+FFFD).
std::size_t wholeCharacters(std::string_view utf8);

// Collects UTF-8 and hands it on as UTF-16, whole characters at a time.
class WideTextBuffer : public std::streambuf {
public:
    using Writer = std::function<void(std::wstring_view)>;
    explicit WideTextBuffer(Writer write) : write_(std::move(write)) {}
    ~WideTextBuffer() override;
    WideTextBuffer(const WideTextBuffer&) = delete;
    WideTextBuffer& operator=(const WideTextBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Writes what is whole; with `everything`, a cut character's bytes too.
    void pass(bool everything);

    Writer write_;
    std::string pending_;
};

enum class Standard { Output, Error };

// Standard output or error: wide text when it is a console, else `redirected`
// (the C++ runtime's own stream) unchanged.
class StandardStream {
public:
    StandardStream(Standard which, std::ostream& redirected);
    StandardStream(const StandardStream&) = delete;
    StandardStream& operator=(const StandardStream&) = delete;

    std::ostream& stream() { return console_ ? *console_ : redirected_; }
    bool isConsole() const { return console_.has_value(); }

private:
    std::ostream& redirected_;
    std::optional<WideTextBuffer> buffer_;
    std::optional<std::ostream> console_;
};

}  // namespace quorvik::cli::win32
