#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace quorvik::platform {
namespace {

TEST(TextCodec, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(encodeCp1252(decodeCp1252(all)), all);
    EXPECT_EQ(windows1252().fromUtf8(windows1252().toUtf8(all)), all);
}

TEST(TextCodec, TypographicCharactersMapToTheirCodePage) {
    EXPECT_EQ(windows1252().fromUtf8("1024\xC3\x97" "768"), "1024\xD7" "768");  // multiplication sign
    EXPECT_EQ(windows1252().fromUtf8("\xE2\x80\x98x\xE2\x80\x99"), "\x91x\x92");  // single quotes
    EXPECT_EQ(windows1252().toUtf8("\x80"), "\xE2\x82\xAC");                    // euro sign
    EXPECT_EQ(windows1252().fromUtf8("\xE4\xB8\xAD"), "?") << "no place in the code page";
}

TEST(TextCodec, Utf8AndUtf16Convert) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, e acute, euro, emoji
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 5u);
    EXPECT_EQ(utf16ToUtf8(wide), text);
    EXPECT_EQ(utf8Length(text), 4u);
    EXPECT_EQ(utf8ToUtf16("\xFF"), u"\uFFFD") << "malformed input is replaced, not trusted";
}

}  // namespace
}  // namespace quorvik::platform
