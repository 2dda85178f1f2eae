#include "cli/win32_console.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace quorvik::cli::win32 {

std::size_t wholeCharacters(std::string_view utf8) {
    // Only the last three bytes can belong to an unfinished character.
    const std::size_t size = utf8.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const auto byte = static_cast<unsigned char>(utf8[size - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 && byte <= 0xF7   ? 4
                                   : byte >= 0xE0 && byte <= 0xEF ? 3
                                   : byte >= 0xC0 && byte <= 0xDF ? 2
                                                                  : 1;
        return back < length ? size - back : size;
    }
    return size;
}

WideTextBuffer::~WideTextBuffer() {
    pass(true);
}

WideTextBuffer::int_type WideTextBuffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_ += traits_type::to_char_type(c);
    // A long run of output is shown as it comes, not only when flushed.
    if (pending_.size() >= 4096) pass(false);
    return traits_type::not_eof(c);
}

std::streamsize WideTextBuffer::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.size() >= 4096) pass(false);
    return count;
}

int WideTextBuffer::sync() {
    pass(false);
    return 0;
}

void WideTextBuffer::pass(bool everything) {
    const std::size_t whole = everything ? pending_.size() : wholeCharacters(pending_);
    if (whole == 0) return;
    const std::wstring wide = platform::win32::widen(std::string_view(pending_).substr(0, whole));
    pending_.erase(0, whole);
    if (!wide.empty()) write_(wide);
}

namespace {

// Small pieces: older consoles refuse one large write.
void writeConsole(HANDLE console, std::wstring_view text) {
    constexpr std::size_t kPiece = 8192;
    while (!text.empty()) {
        std::size_t piece = std::min(kPiece, text.size());
        // A surrogate pair stays in one piece.
        if (piece < text.size() && text[piece - 1] >= 0xD800 && text[piece - 1] <= 0xDBFF) --piece;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(piece), &written, nullptr) ||
            written == 0) {
            return;
        }
        text.remove_prefix(written);
    }
}

}  // namespace

StandardStream::StandardStream(Standard which, std::ostream& redirected) : redirected_(redirected) {
    const HANDLE handle =
        GetStdHandle(which == Standard::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    // Only a console has a console mode: files, pipes and no handle at all keep
    // the runtime's stream and its bytes.
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return;
    buffer_.emplace([handle](std::wstring_view text) { writeConsole(handle, text); });
    console_.emplace(&*buffer_);
    // Whatever reached the runtime's stream before goes out first.
    redirected_.flush();
}

}  // namespace quorvik::cli::win32
