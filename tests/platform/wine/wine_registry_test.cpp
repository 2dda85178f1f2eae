#include "platform/wine/wine_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace quorvik::platform::wine {
namespace {

const std::string kHead =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";

// A hive made of the header, one key and the given value lines.
RegistryHive oneKey(const std::string& values) {
    return parseRegistryFile(kHead + "[Software\\\\Test] 1700000000\n#time=1d9\n" + values);
}

std::u16string unitsOf(const RegistryValue& value) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.data.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(value.data[i]) |
                                             (static_cast<unsigned char>(value.data[i + 1]) << 8)));
    }
    return text;
}

TEST(WineRegistryParse, StringEscapesDecodeToUtf16WithTerminator) {
    struct Case {
        const char* line;
        std::u16string expected;  // without the terminating NUL
    };
    const Case cases[] = {
        {R"("V"="a\\b\"c")", u"a\\b\"c"},
        {R"("V"="l1\nl2\tt\rr")", u"l1\nl2\tt\rr"},
        {R"("V"="nul\0end")", std::u16string(u"nul\0end", 7)},
        {R"("V"="caf\xe9")", u"caf\u00e9"},
        {R"("V"="\x20ac\x3b1")", u"\u20ac\u03b1"},
        {R"("V"="\x00e9a")", u"\u00e9a"},  // four digits at most: the a is text
        {R"("V"="\x1234567")",
         u"\u1234"
         u"567"},
        {R"("V"="x\xg")", u"xxg"},  // no hex digit: a plain x
        {R"("V"="\101\60\08")", std::u16string(u"A0\0"
                                               u"8",
                                               4)},
        {R"("V"="\q\[\]")", u"q[]"},
        {"\"V\"=\"Gr\xC3\xBC\xC3\x9F\xC3\xA9 \xF0\x9F\x8E\xAE\"",
         u"Gr\u00fc\u00df\u00e9 \U0001F3AE"},
        {R"("V"=str:"typed")", u"typed"},
        {R"("V"  =  "blanks")", u"blanks"},
        {R"("V"="")", u""},
    };
    for (const Case& c : cases) {
        const RegistryHive hive = oneKey(std::string(c.line) + "\n");
        const RegistryValue* value = hive.findValue(u"Software\\Test", u"V");
        ASSERT_NE(value, nullptr) << c.line;
        EXPECT_EQ(value->type, kRegSz) << c.line;
        EXPECT_EQ(unitsOf(*value), c.expected + u'\0') << c.line;
    }
}

TEST(WineRegistryParse, TypedValuesKeepTypeAndBytes) {
    struct Case {
        const char* line;
        std::uint32_t type;
        std::string bytes;
    };
    const Case cases[] = {
        {R"("V"=str(2):"%ProgramFiles%\\x")", kRegExpandSz,
         std::string("%\0P\0r\0o\0g\0r\0a\0m\0F\0i\0l\0e\0s\0%\0\\\0x\0\0\0", 34)},
        {R"("V"=str(7):"a\0b\0")", kRegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)},
        {"\"V\"=dword:0000001f", kRegDword, std::string("\x1f\0\0\0", 4)},
        {"\"V\"=dword:FFFFFFFE", kRegDword, "\xfe\xff\xff\xff"},
        {"\"V\"=hex:01,ab,FF", kRegBinary, "\x01\xab\xff"},
        {"\"V\"=hex:", kRegBinary, ""},
        {"\"V\"=hex(b):01,02,03,04,05,06,07,08", 0xb, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {"\"V\"=hex(7):41,00,\\\n  00,00,\\\r\n\t42,00,00,00,00,00", kRegMultiSz,
         std::string("A\0\0\0B\0\0\0\0\0", 10)},
        {"\"V\"=hex(1):41,00,42,00", kRegSz, std::string("A\0B\0", 4)},
        {"@=dword:00000002", kRegDword, std::string("\x02\0\0\0", 4)},
    };
    for (const Case& c : cases) {
        const RegistryHive hive = oneKey(std::string(c.line) + "\n");
        const RegistryValue* value =
            hive.findValue(u"Software\\Test", c.line[0] == '@' ? u"" : u"V");
        ASSERT_NE(value, nullptr) << c.line;
        EXPECT_EQ(value->type, c.type) << c.line;
        EXPECT_EQ(value->data, c.bytes) << c.line;
    }
}

TEST(WineRegistryParse, UnreadableValueLinesAreSkippedAndTheRestIsRead) {
    const RegistryHive hive = oneKey(
        "\"NoEquals\" \"x\"\n"
        "\"BadDword\"=dword:xyz\n"
        "\"LongDword\"=dword:123456789\n"
        "\"DwordTail\"=dword:1 junk\n"
        "\"BigByte\"=hex:1ff\n"
        "\"BadHex\"=hex:01,zz\n"
        "\"BadType\"=hex(zz):01\n"
        "\"Unknown\"=bogus:1\n"
        "\"Open\"=\"no end\n"
        "\"Escape at end\"=\"x\\\n"
        "\"Good\"=\"kept\"\n");
    for (const char16_t* name : {u"NoEquals", u"BadDword", u"LongDword", u"DwordTail", u"BigByte",
                                 u"BadHex", u"BadType", u"Unknown", u"Open", u"Escape at end"}) {
        EXPECT_EQ(hive.findValue(u"Software\\Test", name), nullptr);
    }
    EXPECT_EQ(hive.stringValue(u"Software\\Test", u"Good"), u"kept");
}

TEST(WineRegistryParse, KeysAndValueNamesCompareWithoutCaseAndImplyTheirParents) {
    const RegistryHive hive = parseRegistryFile(kHead +
                                                "[sOFTWARE\\\\grenmark\\\\QUELLMOOR] 1\n"
                                                "\"exe_path\"=\"C:\\\\q.exe\"\n"
                                                "[Software\\\\\\xc4rger\\\\\\x3a9] 1\n"
                                                "\"\\xe9t\\xe9\"=\"summer\"\n");
    EXPECT_TRUE(hive.hasKey(u"Software\\Grenmark\\QuellMoor"));
    EXPECT_TRUE(hive.hasKey(u"SOFTWARE\\GRENMARK"));
    EXPECT_TRUE(hive.hasKey(u"software"));
    EXPECT_TRUE(hive.hasKey(u""));
    EXPECT_FALSE(hive.hasKey(u"Software\\Gren"));
    EXPECT_FALSE(hive.hasKey(u"Software\\Grenmark\\QuellMoor\\Sub"));
    EXPECT_EQ(hive.stringValue(u"software\\GRENMARK\\quellmoor", u"EXE_PATH"), u"C:\\q.exe");
    EXPECT_TRUE(hive.hasKey(u"software\\\u00e4RGER\\\u03c9"));
    EXPECT_EQ(hive.stringValue(u"Software\\\u00c4rger\\\u03a9", u"\u00c9T\u00c9"), u"summer");
    EXPECT_EQ(hive.findValue(u"Software\\Grenmark", u"Exe_Path"), nullptr)
        << "values belong to their own key only";
}

TEST(WineRegistryParse, DuplicatedKeysMergeAndTheLaterValueWins) {
    const RegistryHive hive =
        parseRegistryFile(kHead +
                          "[Software\\\\Dup] 1\n\"A\"=\"first\"\n\"B\"=\"b\"\n"
                          "[Software\\\\Other] 1\n\"A\"=\"other\"\n"
                          "[SOFTWARE\\\\DUP] 2\n\"a\"=\"second\"\n");
    EXPECT_EQ(hive.keyCount(), 2u);
    EXPECT_EQ(hive.stringValue(u"Software\\Dup", u"A"), u"second");
    EXPECT_EQ(hive.stringValue(u"Software\\Dup", u"B"), u"b");
    EXPECT_EQ(hive.stringValue(u"Software\\Other", u"A"), u"other");
}

TEST(WineRegistryParse, KeyLinesWithEscapesOptionsAndRoot) {
    const RegistryHive hive = parseRegistryFile(kHead +
                                                "\"Orphan\"=\"before any key\"\n"
                                                "[] 1\n\"AtRoot\"=\"r\"\n"
                                                "[Software\\\\Odd\\]Name\\\\\\\\Empty] 1\n"
                                                "#time=1d9\n#class=\"x\"\n#link\n"
                                                "  \"Indented\"=\"i\"\n"
                                                "[Software\\\\Broken 1\n"
                                                "\"Lost\"=\"after a broken key line\"\n");
    EXPECT_EQ(hive.stringValue(u"", u"AtRoot"), u"r");
    EXPECT_EQ(hive.findValue(u"", u"Orphan"), nullptr);
    EXPECT_EQ(hive.stringValue(u"Software\\Odd]Name\\Empty", u"Indented"), u"i");
    EXPECT_FALSE(hive.hasKey(u"Software\\Broken"));
    EXPECT_EQ(hive.findValue(u"Software\\Odd]Name\\Empty", u"Lost"), nullptr);
}

TEST(WineRegistryParse, HeaderAndArchitecture) {
    struct Case {
        std::string text;
        bool recognised;
        WineArch arch;
    };
    const Case cases[] = {
        {kHead + "#arch=win32\n[A] 1\n", true, WineArch::Win32},
        {kHead + "#arch=win64\n[A] 1\n", true, WineArch::Win64},
        {kHead + "[A] 1\n#arch=win32\n", true, WineArch::Unknown},  // a key option, not the arch
        {kHead + "[A] 1\n", true, WineArch::Unknown},
        {"WINE REGISTRY Version 2\r\n#arch=win32\r\n[A] 1\r\n", true, WineArch::Win32},
        {"REGEDIT4\n\n[A]\n", false, WineArch::Unknown},
        {"Windows Registry Editor Version 5.00\r\n[A]\r\n", false, WineArch::Unknown},
        {"\xEF\xBB\xBFWINE REGISTRY Version 2\n[A] 1\n", false, WineArch::Unknown},
        {"", false, WineArch::Unknown},
    };
    for (const Case& c : cases) {
        const RegistryHive hive = parseRegistryFile(c.text);
        EXPECT_EQ(hive.recognised(), c.recognised) << c.text;
        EXPECT_EQ(hive.arch(), c.arch) << c.text;
        EXPECT_EQ(hive.hasKey(u"A"), c.recognised) << c.text;
    }
}

TEST(WineRegistryParse, CrLfFileReadsLikeLfFile) {
    const std::string lf = kHead +
                           "#arch=win64\n\n[Software\\\\K] 1\n#time=1\n\"S\"=\"v\"\n"
                           "\"H\"=hex:01,\\\n  02\n@=dword:00000001\n";
    std::string crlf;
    for (const char c : lf) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const RegistryHive a = parseRegistryFile(lf);
    const RegistryHive b = parseRegistryFile(crlf);
    EXPECT_EQ(b.arch(), WineArch::Win64);
    EXPECT_EQ(b.stringValue(u"Software\\K", u"S"), u"v");
    for (const char16_t* name : {u"S", u"H", u""}) {
        ASSERT_NE(a.findValue(u"Software\\K", name), nullptr);
        ASSERT_NE(b.findValue(u"Software\\K", name), nullptr);
        EXPECT_EQ(a.findValue(u"Software\\K", name)->data, b.findValue(u"Software\\K", name)->data);
    }
}

TEST(WineRegistryParse, TruncatedFilesKeepWhatWasWholeAndDropTheRest) {
    const std::string whole = kHead +
                              "[Software\\\\A] 1\n\"Kept\"=\"yes\"\n"
                              "\"Bin\"=hex:01,02,\\\n  03,04\n"
                              "[Software\\\\B] 1\n\"Str\"=\"complete\"\n";
    // Every cut of the file parses; a value cut in half is dropped, never half-kept.
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        const RegistryHive hive = parseRegistryFile(std::string_view(whole).substr(0, cut));
        if (const RegistryValue* bin = hive.findValue(u"Software\\A", u"Bin")) {
            EXPECT_EQ(bin->data, "\x01\x02\x03\x04") << "cut at " << cut;
        }
        if (const auto str = hive.stringValue(u"Software\\B", u"Str")) {
            EXPECT_EQ(*str, u"complete") << "cut at " << cut;
        }
    }
    // A continuation cut off by the next key: the key still counts.
    const RegistryHive cut = parseRegistryFile(kHead +
                                               "[Software\\\\A] 1\n\"Bin\"=hex:01,\\\n"
                                               "[Software\\\\B] 1\n\"Str\"=\"after\"\n");
    EXPECT_EQ(cut.findValue(u"Software\\A", u"Bin"), nullptr);
    EXPECT_EQ(cut.stringValue(u"Software\\B", u"Str"), u"after");
}

TEST(WineRegistryParse, GarbageAndBinaryInputNeverBreakTheParser) {
    const std::string valid = kHead +
                              "#arch=win64\n[Software\\\\Wow6432Node\\\\Grenmark\\\\QuellMoor] 1\n"
                              "\"Version\"=\"1.4.2\"\n\"Bin\"=hex(7):41,00,\\\n  00,00\n"
                              "@=str(2):\"\\x20ac\\\"\\101\"\n";
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (text.size() + 1);
            switch (random() % 3) {
                case 0:
                    text.insert(at, 1, static_cast<char>(random()));
                    break;
                case 1:
                    if (at < text.size()) text.erase(at, 1);
                    break;
                default:
                    if (at < text.size()) text[at] = static_cast<char>(random());
                    break;
            }
        }
        const RegistryHive hive = parseRegistryFile(text);
        hive.hasKey(u"Software\\Wow6432Node\\Grenmark\\QuellMoor");
        hive.findValue(u"Software\\Wow6432Node\\Grenmark\\QuellMoor", u"Version");
    }
    std::string binary(1 << 16, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    EXPECT_EQ(parseRegistryFile(kHead + binary).findValue(u"", u""), nullptr);
}

// holdsAnyKey answers as parseRegistryKeys(text).hasKey would; each row checks
// both against the rule it states.
TEST(WineRegistryKeyScan, AnswersAsTheParsedKeysDo) {
    using Paths = std::vector<std::u16string_view>;
    const Paths game = {u"Software\\Grenmark\\QuellMoor",
                        u"Software\\Wow6432Node\\Grenmark\\QuellMoor"};
    struct Case {
        const char* rule;
        std::string text;
        bool holds;
        Paths paths = {u"Software\\Grenmark"};
    };
    const Case cases[] = {
        {"a key that was written", kHead + "[A] 1\n[Software\\\\Grenmark] 1\n", true},
        {"a parent is implied by its subkey", kHead + "[Software\\\\Grenmark\\\\Sub] 1\n", true},
        {"a subkey is not implied by its parent", kHead + "[Software] 1\n", false},
        {"a part matches whole, not its beginning", kHead + "[Software\\\\GrenmarkGames] 1\n",
         false},
        {"case does not count", kHead + "[sOFTWARE\\\\grenMARK] 1\n", true},
        {"nor in Latin-1, Greek or Cyrillic",
         kHead + "[\\xc4rger\\\\\\x3a9\\\\\\x416] 1\n",
         true,
         {u"\u00e4RGER\\\u03c9\\\u0436"}},
        {"hex and octal escapes spell the name", kHead + "[Software\\\\Gren\\x006dar\\153] 1\n",
         true},
        {"a \\x without a hex digit is a plain x",
         kHead + "[Software\\\\\\xg] 1\n",
         true,
         {u"Software\\xg"}},
        {"raw UTF-8 is read as UTF-8",
         kHead + "[Gr\xC3\xBCn\\\\\xF0\x9F\x8E\xAE] 1\n",
         true,
         {u"GR\u00dcN\\\U0001F3AE"}},
        {"an escaped bracket belongs to the name", kHead + "[Odd\\]Name] 1\n", true, {u"Odd]Name"}},
        {"escaped quotes and backslashes",
         kHead + "[Say \\\"hi\\\"\\\\x] 1\n",
         true,
         {u"Say \"hi\"\\x"}},
        {"empty parts are dropped", kHead + "[\\\\Software\\\\\\\\Grenmark\\\\] 1\n", true},
        {"a backslash spelt as an overlong UTF-8 pair still separates parts",
         kHead + "[Software\xC1\x9CGrenmark] 1\n", true},
        {"what follows the closing bracket does not count",
         kHead + "[Software\\\\Grenmark]junk [x]\n", true},
        {"CRLF lines", "WINE REGISTRY Version 2\r\n[Software\\\\Grenmark] 1\r\n", true},
        {"blanks before the bracket", kHead + " \t\r[Software\\\\Grenmark] 1\n", true},
        {"a key line without its closing bracket is no key",
         kHead + "[Software\\\\Grenmark 1\n[Other] 1\n", false},
        {"nor one whose bracket comes on the next line", kHead + "[Software\\\\Grenmark\n] 1\n",
         false},
        {"nor one cut off after a backslash", kHead + "[Software\\\\Grenmark\\", false},
        {"a key's name inside a value is no key",
         kHead + "[Other] 1\n\"V\"=\"[Software\\\\Grenmark] 1\"\n", false},
        {"a key after a cut-off hex value still counts",
         kHead + "[A] 1\n\"Bin\"=hex:01,\\\n[Software\\\\Grenmark] 1\n", true},
        {"either spelling, the first", kHead + "[Software\\\\Grenmark\\\\QuellMoor] 1\n", true,
         game},
        {"either spelling, the second",
         kHead + "[Software\\\\Wow6432Node\\\\Grenmark\\\\QuellMoor] 1\n", true, game},
        {"neither spelling", kHead + "[Software\\\\Wow6432Node\\\\Grenmark] 1\n", false, game},
        {"no Wine header, no keys", "[Software\\\\Grenmark] 1\n", false},
        {"a byte-order mark hides the header",
         "\xEF\xBB\xBF" + kHead + "[Software\\\\Grenmark] 1\n", false},
        {"another program's header", "REGEDIT4\n\n[Software\\\\Grenmark]\n", false},
        {"Wine's header and nothing more", "WINE REGISTRY Version 2 \n[Software\\\\Grenmark] 1\n",
         false},
        {"the root is there even in no registry at all", "", true, {u"A", u"\\\\"}},
        {"no path, no key", kHead + "[A] 1\n", false, {}},
    };
    for (const Case& c : cases) {
        const RegistryHive keys = parseRegistryKeys(c.text);
        const bool parsed =
            std::any_of(c.paths.begin(), c.paths.end(),
                        [&](std::u16string_view path) { return keys.hasKey(path); });
        EXPECT_EQ(parsed, c.holds) << c.rule;
        EXPECT_EQ(holdsAnyKey(c.text, c.paths), c.holds) << c.rule;
    }
}

TEST(WineRegistryKeyScan, DamagedFilesGetTheParsedKeysAnswer) {
    const std::string valid = kHead +
                              "#arch=win64\n[Software\\\\Classes\\\\.scr] 1\n@=\"scrfile\"\n"
                              "[Software\\\\Wow6432Node\\\\Gr\\xe9nmark\\\\QuellMoor] 1\n"
                              "\"Bin\"=hex(7):41,00,\\\n  00,00\n"
                              "[Software\\\\Grenmark\\\\Quell\\\"Moor\\\\\\\\] 1\r\n";
    const std::vector<std::u16string_view> paths = {
        u"Software\\Wow6432Node\\Gr\u00e9nmark\\QuellMoor", u"Software\\Grenmark\\Quell\"Moor",
        u"Software\\Wow6432Node", u"Software\\Classes\\.scr", u"Software\\Grenmark\\Quell"};
    // Mostly the characters that matter to a key line.
    constexpr std::string_view kKeyLineChars = "[]\\\"x\r\n 0aG";
    std::mt19937 random(20251207);
    for (int round = 0; round < 5000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (text.size() + 1);
            const char c = kKeyLineChars[random() % kKeyLineChars.size()];
            switch (random() % 3) {
                case 0:
                    text.insert(at, 1, c);
                    break;
                case 1:
                    if (at < text.size()) text.erase(at, 1);
                    break;
                default:
                    if (at < text.size()) text[at] = c;
                    break;
            }
        }
        const RegistryHive keys = parseRegistryKeys(text);
        for (const std::u16string_view path : paths) {
            ASSERT_EQ(holdsAnyKey(text, std::span(&path, 1)), keys.hasKey(path))
                << "round " << round << "\n"
                << text;
        }
    }
}

TEST(WineRegistryParse, HugeInputsStayLinear) {
    // Shapes that are quadratic for a naive reader: one deep key, many keys
    // sharing a long path, one value over a million continuation lines.
    std::string text = kHead + "[";
    for (int i = 0; i < 200000; ++i) text += "k\\\\";
    text += "leaf] 1\n\"V\"=\"deep\"\n";
    const std::string longPath(30000, 'p');
    for (int i = 0; i < 300; ++i) text += "[" + longPath + "\\\\" + std::to_string(i) + "] 1\n";
    text += "[Software\\\\Big] 1\n\"Bin\"=hex:00";
    for (int i = 0; i < 1000000; ++i) text += ",\\\n  ff";
    text += "\n";

    const auto start = std::chrono::steady_clock::now();
    const RegistryHive hive = parseRegistryFile(text);
    std::u16string deep;
    for (int i = 0; i < 200000; ++i) deep += u"k\\";
    EXPECT_EQ(hive.stringValue(deep + u"leaf", u"V"), u"deep");
    EXPECT_TRUE(hive.hasKey(std::u16string(longPath.begin(), longPath.end())));
    ASSERT_NE(hive.findValue(u"Software\\Big", u"Bin"), nullptr);
    EXPECT_EQ(hive.findValue(u"Software\\Big", u"Bin")->data.size(), 1000001u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace quorvik::platform::wine
