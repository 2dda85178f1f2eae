// quorvik-cli.exe's console output: UTF-8 from the front end reaches a console
// as whole wide characters, however the writes and flushes cut it.

#include "cli/win32_console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvik::cli::win32 {
namespace {

struct WholeRow {
    const char* what;
    std::string utf8;
    std::size_t whole;
};

TEST(Win32Console, WholeCharactersKeepsACutCharacterBack) {
    const WholeRow rows[] = {
        {"nothing", "", 0},
        {"ASCII", "Quell", 5},
        {"two-byte letters whole", "M\xC3\xB6\xC3\xB6r", 6},
        {"two-byte letter cut after its first byte", "M\xC3", 1},
        {"three-byte sign cut after one byte", "\xE2", 0},
        {"three-byte sign cut after two bytes", "x\xE2\x82", 1},
        {"three-byte sign whole", "x\xE2\x82\xAC", 4},
        {"four-byte character cut after three bytes", "\xF0\x9F\x98", 0},
        {"four-byte character whole", "\xF0\x9F\x98\x80", 4},
        {"Cyrillic cut", "\xD0\x98\xD0", 2},
        {"stray continuation bytes are not waited on", "a\x80\x80\x80\x80", 5},
        {"a byte that starts nothing", "a\xFF", 2},
    };
    for (const WholeRow& row : rows) {
        EXPECT_EQ(wholeCharacters(row.utf8), row.whole) << row.what;
    }
}

struct StreamRow {
    const char* what;
    std::vector<std::string> pieces;  // each written, then flushed
    std::wstring shown;
};

TEST(Win32Console, WideTextBufferShowsEveryLetterWhateverTheCuts) {
    const StreamRow rows[] = {
        {"one piece", {"Quell M\xC3\xB6\xC3\xB6r\n"}, L"Quell M\u00F6\u00F6r\n"},
        {"a letter cut by a flush", {"Quell M\xC3", "\xB6\xC3\xB6r\n"}, L"Quell M\u00F6\u00F6r\n"},
        {"Cyrillic byte by byte",
         {"\xD0", "\x98", "\xD0", "\xB3", "\xD1", "\x80", "\xD1", "\x8B"},
         L"\u0418\u0433\u0440\u044B"},
        {"a character outside the basic plane cut twice",
         {"\xF0\x9F", "\x98", "\x80!"},
         L"\U0001F600!"},
        {"a cut character at the end is written when the stream ends", {"ok \xC3"}, L"ok \uFFFD"},
    };
    for (const StreamRow& row : rows) {
        std::wstring shown;
        std::vector<std::wstring> writes;
        {
            WideTextBuffer buffer([&](std::wstring_view text) { writes.emplace_back(text); });
            std::ostream stream(&buffer);
            for (const std::string& piece : row.pieces) stream << piece << std::flush;
        }
        for (const std::wstring& text : writes) {
            // No write may hold half a character: each is shown as it comes.
            if (&text != &writes.back()) {
                EXPECT_EQ(text.find(L'\uFFFD'), std::wstring::npos) << row.what;
            }
            shown += text;
        }
        EXPECT_EQ(shown, row.shown) << row.what;
    }
}

// Output longer than the buffer holds is shown as it comes, without cutting
// a letter at the buffer's edge.
TEST(Win32Console, LongOutputIsPassedOnInWholeLetters) {
    std::string utf8;
    std::wstring wide;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "\xD0\x98";
        wide += L'\u0418';
    }
    std::wstring shown;
    int writes = 0;
    {
        WideTextBuffer buffer([&](std::wstring_view text) {
            ++writes;
            EXPECT_EQ(text.find(L'\uFFFD'), std::wstring::npos);
            shown += text;
        });
        std::ostream stream(&buffer);
        // Byte by byte after one odd byte, so the buffer's edge falls inside a letter.
        stream.put('x');
        for (const char byte : utf8) stream.put(byte);
        EXPECT_GE(writes, 1) << "nothing was shown before the flush";
    }
    EXPECT_EQ(shown, L"x" + wide);
}

}  // namespace
}  // namespace quorvik::cli::win32
