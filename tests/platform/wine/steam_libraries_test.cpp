#include "platform/wine/steam_libraries.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvik::platform::wine {
namespace {

using Folders = std::vector<std::string>;
using namespace std::string_literals;

TEST(SteamLibraries, BothLayoutsAndTheirSpellings) {
    struct Case {
        const char* name;
        std::string text;
        Folders expected;
    };
    const Case cases[] = {
        {"current layout",
         "\"libraryfolders\"\n{\n"
         "\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/jane/.local/share/Steam\"\n"
         "\t\t\"label\"\t\t\"\"\n\t\t\"contentid\"\t\t\"4213190318361846353\"\n"
         "\t\t\"totalsize\"\t\t\"0\"\n"
         "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t\t\"path\"\t\t\"/not/this\"\n\t\t}\n"
         "\t}\n"
         "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/mnt/games/SteamLibrary\"\n\t\t\"mounted\"\t\t\"1\"\n"
         "\t}\n}\n",
         {"/home/jane/.local/share/Steam", "/mnt/games/SteamLibrary"}},
        {"old layout",
         "\"LibraryFolders\"\r\n{\r\n\t\"TimeNextStatsReport\"\t\t\"1698765432\"\r\n"
         "\t\"ContentStatsID\"\t\t\"-1234567890\"\r\n\t\"1\"\t\t\"/mnt/a\"\r\n"
         "\t\"2\"\t\t\"/media/jane/Big Disk/Steam\"\r\n}\r\n",
         {"/mnt/a", "/media/jane/Big Disk/Steam"}},
        {"any case of the keys",
         "\"LIBRARYFOLDERS\" { \"3\" { \"PATH\" \"/x\" } \"4\" { \"Path\" \"/y\" } }",
         {"/x", "/y"}},
        {"escapes",
         R"("libraryfolders" { "1" { "path" "/home/j/My \"Games\"\\Steam" } "2" "C:\\Steam\\x" })",
         {"/home/j/My \"Games\"\\Steam", "C:\\Steam\\x"}},
        {"comments, conditions and bare words",
         "// written by Steam\n\"libraryfolders\" { // the list\n"
         "  \"1\" \"/a\" [$LINUX]\n  2 /b\n}\n",
         {"/a", "/b"}},
        {"another root", "\"config\" { \"1\" \"/no\" \"0\" { \"path\" \"/no\" } }", {}},
        {"path outside a numbered block",
         "\"libraryfolders\" { \"path\" \"/no\" \"contentstatsid\" { \"path\" \"/no\" } }",
         {}},
        {"empty paths are no libraries",
         "\"libraryfolders\" { \"1\" \"\" \"2\" { \"path\" \"\" } }",
         {}},
        {"a byte-order mark, as an editor saves it",
         "\xEF\xBB\xBF\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/mnt/a\"\n\t}\n}\n",
         {"/mnt/a"}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseLibraryFolders(c.text), c.expected) << c.name;
}

TEST(SteamLibraries, ConfigVdfNamesTheLibrariesOfOlderSteam) {
    const std::string config =
        "\"InstallConfigStore\"\n{\n\t\"Software\"\n\t{\n\t\t\"Valve\"\n\t\t{\n"
        "\t\t\t\"Steam\"\n\t\t\t{\n\t\t\t\t\"AutoUpdateWindowEnabled\"\t\t\"0\"\n"
        "\t\t\t\t\"BaseInstallFolder_1\"\t\t\"/mnt/games/SteamLibrary\"\n"
        "\t\t\t\t\"baseinstallfolder_2\"\t\t\"/media/jane/Big Disk\"\n"
        "\t\t\t\t\"BaseInstallFolder_x\"\t\t\"/not/a/number\"\n"
        "\t\t\t\t\"BaseInstallFolder_\"\t\t\"/no/number\"\n"
        "\t\t\t\t\"BaseInstallFolder_3\"\t\t\"\"\n"
        "\t\t\t\t\"BaseInstallFolder_4\"\n\t\t\t\t{\n\t\t\t\t\t\"x\" \"/block\"\n\t\t\t\t}\n"
        "\t\t\t}\n\t\t}\n\t}\n}\n";
    EXPECT_EQ(parseConfigLibraryFolders(config),
              (Folders{"/mnt/games/SteamLibrary", "/media/jane/Big Disk"}));
    EXPECT_EQ(parseConfigLibraryFolders("\xEF\xBB\xBF\"BaseInstallFolder_1\" \"/a\""), Folders{"/a"});
    EXPECT_TRUE(parseConfigLibraryFolders("\"BaseInstallFolder_1\" {").empty());
}

TEST(SteamLibraries, GarbageGivesWhatCouldBeReadAndNoMore) {
    struct Case {
        const char* name;
        std::string text;
        Folders expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"unterminated string", "\"libraryfolders\" { \"1\" \"/a\" \"2\" \"/b", {"/a"}},
        {"missing closing braces", "\"libraryfolders\" { \"0\" { \"path\" \"/a\"", {"/a"}},
        {"stray closing braces", "} } \"libraryfolders\" { \"1\" \"/a\" } } }", {"/a"}},
        {"a lone key", "\"libraryfolders\"", {}},
        {"a key left without value before a brace",
         "\"libraryfolders\" { \"1\" } \"2\" \"/no\"",
         {}},
        {"a NUL inside a path", "\"libraryfolders\" { \"1\" \"/a\0/b\" \"2\" \"/c\" }"s, {"/c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(parseLibraryFolders(c.text), c.expected) << c.name;

    std::string deep = "\"libraryfolders\" ";
    for (int i = 0; i < 200000; ++i) deep += "{ \"1\" ";
    deep += "\"/deep\"";
    EXPECT_TRUE(parseLibraryFolders(deep).empty()) << "nesting depth is counted, not stacked";

    std::mt19937 random(7);
    std::string noise(1 << 16, '\0');
    for (char& c : noise) c = "{}\"\\ /a1\n"[random() % 9];
    parseLibraryFolders(noise);  // no crash, whatever it finds
}

}  // namespace
}  // namespace quorvik::platform::wine
