// The skills file the tool writes: its fixed text, and the rules for the one
// value that varies.

#include "overrides/skills_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quorvik::overrides {
namespace {

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// A line that ends in blanks after its closer.
std::string withBlanks(std::string line, std::size_t blanks) {
    return line + std::string(blanks, ' ');
}

// File lines 1 to 70, with a field of view of 75.0.
const std::vector<std::string> kFirstLines = {
    "<level id=\"1\">",
    "    <prop n=\"LookVertSpeed_Pad\" v=\"120.0\" />",
    "    <prop n=\"LookHorzSpeed_Pad\" v=\"260.0\" />",
    "    <prop n=\"LookVertAcc_Pad\" v=\"2500.0\" />",
    "    <prop n=\"LookHorzAcc_Pad\" v=\"2500.0\" />",
    "    <prop n=\"LookVertDec_Pad\" v=\"50000.0\" />",
    "    <prop n=\"LookHorzDec_Pad\" v=\"50000.0\" />",
    "",
    "    <prop n=\"LookAimVertSpeed_Pad\" v=\"55.0\" />",
    "    <prop n=\"LookAimHorzSpeed_Pad\" v=\"105.0\" />",
    "    <prop n=\"LookAimVertAcc_Pad\" v=\"2500.0\" />",
    "    <prop n=\"LookAimHorzAcc_Pad\" v=\"2500.0\" />",
    "    <prop n=\"LookAimVertDec_Pad\" v=\"50000.0\" />",
    "    <prop n=\"LookAimHorzDec_Pad\" v=\"50000.0\" />",
    "",
    "    <prop n=\"LookVertSpeed_Mouse\" v=\"0.25\" />",
    "    <prop n=\"LookHorzSpeed_Mouse\" v=\"0.25\" />",
    "    <prop n=\"LookVertAcc_Mouse\" v=\"1000000.0\" />",
    "    <prop n=\"LookHorzAcc_Mouse\" v=\"1000000.0\" />",
    "    <prop n=\"LookVertDec_Mouse\" v=\"1000000.0\" />",
    "    <prop n=\"LookHorzDec_Mouse\" v=\"1000000.0\" />",
    "",
    "    <prop n=\"LookAimVertSpeed_Mouse\" v=\"0.125\" />",
    "    <prop n=\"LookAimHorzSpeed_Mouse\" v=\"0.125\" />",
    "    <prop n=\"LookAimVertAcc_Mouse\" v=\"5000000.0\" />",
    "    <prop n=\"LookAimHorzAcc_Mouse\" v=\"5000000.0\" />",
    "    <prop n=\"LookAimVertDec_Mouse\" v=\"5000000.0\" />",
    "    <prop n=\"LookAimHorzDec_Mouse\" v=\"5000000.0\" />",
    std::string(1, ' '),
    "    <prop n=\"RamingLevel\" v=\"1\" />",
    "    <prop n=\"BluntWeaponsSkill\" v=\"0\" />",
    "    <prop n=\"SharpWeaponsSkill\" v=\"0\" />",
    "    <prop n=\"FireWeaponsSkill\" v=\"0\" />",
    "    <prop n=\"DefensiveMoveLevel\" v=\"0\" />",
    withBlanks("    <prop n=\"PenaltyOnDeath\" v=\"1\" />", 2),
    "    <prop n=\"SlowMoOnPlayerDeath\" v=\"0\" />",
    "    <prop n=\"TISMode\" v=\"1\" />",
    withBlanks("    <prop n=\"DamageBulletVisModif\" v=\"0.7\" />", 2),
    "    <prop n=\"BlastKillExperienceBonus\" v=\"1.0\" />",
    " <prop n=\"KnockDownInPlaceFromLowHealth\" v=\"1.0\" />",
    withBlanks(" <prop n=\"StrafeJumping\" v=\"1.0\" />", 2),
    withBlanks(" <prop n=\"DmgResAfterDeathDur\" v=\"5.0\" />", 8),
    withBlanks(" <prop n=\"CanUseWeaponsInKnockDown\" v=\"-1.0\" />", 6),
    std::string(2, ' '),
    "    <prop n=\"UseGPSNavigation\" v=\"1\" />",
    std::string(2, ' '),
    "    <prop n=\"BulletPenetrationChance\" v=\"0.\" />",
    "    <prop n=\"KnockDownLayingTime\" v=\"0.1f\" />",
    " <prop n=\"HeadAccuracyTollerance\" v=\"1.0\" />",
    " <prop n=\"SprintLookFromLS\" v=\"-1.0\" />",
    " <prop n=\"MoveWhenCarryMaxSpeedFactor\" v=\"0.7\" />",
    " <prop n=\"MoveWhenCarryMinSpeedFactor\" v=\"0.2\" />",
    std::string(1, ' '),
    withBlanks(" <prop n=\"ThrowMaxDist\" v=\"900.0\" />", 1),
    std::string(1, ' '),
    " <prop n=\"FinisherMult\" v=\"4.0\" />",
    " <prop n=\"FinisherStaminaUsageMult\" v=\"2.0\" />",
    " <prop n=\"FuryUsage\" v=\"0.0\" />",
    " <prop n=\"FuryPointsAfterKill\" v=\"0.05\" />",
    "<prop n=\"CameraDefaultFOV\" v=\"75.0\"/>",
    " <prop n=\"BulletHitMissEffects\" v=\"1.0\" />",
    "    <prop n=\"HideWeaponsDuringSprint\" v=\"1.0\" />",
    "    <prop n=\"SelfHealing\" v=\"1.0\" />",
    std::string(4, ' '),
    "    <prop n=\"HealthRegenerationStartTime\" v=\"2.0\" />",
    "    <prop n=\"HealthRegenerationMaxLevel\" v=\"30.0\" />",
    "    <prop n=\"HealthRegenerationSpeedInStand\" v=\"20.0\" />",
    "    <prop n=\"HealthRegenerationSpeedInWalk\" v=\"20.0\" />",
    "    <prop n=\"HealthRegenerationSpeedInCrounch\" v=\"20.0\" />",
    "    <prop n=\"HealthRegenerationSpeedInCrounchWalk\" v=\"20.0\" />",
};

// File lines 240 to 250, with a field of view of 75.0.
const std::vector<std::string> kLines240To250 = {
    " <prop n=\"AllowedSkillsCount\" v=\"0\" />",
    std::string(1, ' '),
    withBlanks(" <prop n=\"GrappleEscapeMul\" v=\"2\" />", 1),
    withBlanks(" <prop n=\"EnemyGrabChance\" v=\"1\" />", 2),
    std::string(1, ' '),
    " <prop n=\"MaxAmmoPistol\" v=\"50\" />",
    " <prop n=\"MaxAmmoRifle\" v=\"60\" />``",
    " <prop n=\"MaxAmmoShotgun\" v=\"20\" />",
    withBlanks(" <prop n=\"MaxAmmoSniper\" v=\"15\" />", 3),
    std::string(5, ' '),
    withBlanks(" <prop n=\"FirearmsPistolReloadTimeMul\" v=\"1.0\" />", 4),
};

// File lines 391 to 400, with a field of view of 75.0.
const std::vector<std::string> kLastLines = {
    "</level>",
    "<level id=\"29\">",
    " <prop n=\"ExpToNextLevel\" v=\"700000\" />",
    " <prop n=\"AllowedSkillsCount\" v=\"28\" />",
    "</level>",
    "<level id=\"30\">",
    " <prop n=\"ExpToNextLevel\" v=\"770000\" />",
    " <prop n=\"AllowedSkillsCount\" v=\"29\" />",
    "</level>",
    "",
};

TEST(SkillsFileText, MatchesTheGameTextLineForLine) {
    const std::string text = skillsFileText("75.0");
    const std::vector<std::string> lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), 400u);
    for (std::size_t i = 0; i < kFirstLines.size(); ++i) {
        EXPECT_EQ(lines[i], kFirstLines[i]) << "line " << i + 1;
    }
    for (std::size_t i = 0; i < kLines240To250.size(); ++i) {
        EXPECT_EQ(lines[239 + i], kLines240To250[i]) << "line " << 240 + i;
    }
    for (std::size_t i = 0; i < kLastLines.size(); ++i) {
        EXPECT_EQ(lines[390 + i], kLastLines[i]) << "line " << 391 + i;
    }
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a stray line end";
    }
    // Any other change to the fixed text, however small, shows here.
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const unsigned char byte : text) hash = (hash ^ byte) * 0x100000001b3u;
    EXPECT_EQ(text.size(), 13771u);
    EXPECT_EQ(hash, 0x99e17a171722e75cu);
    EXPECT_EQ(text, quorvik::testing::dataBytes("default_levels.xml"));
}

TEST(SkillsFileText, HasTheShapeTheGameExpects) {
    const std::vector<std::string> lines = splitCrLf(skillsFileText("75.0"));
    ASSERT_EQ(lines.size(), 400u);
    const std::regex property(R"re(( *)<prop n="([A-Za-z0-9_]+)" v="([^"]*)"( />|/>)(.*))re");
    const std::regex levelStart(R"re(<level id="([0-9]+)">)re");
    std::map<std::size_t, int> levelOneIndents, levelOneGaps;
    int properties = 0, fieldOfViewLines = 0, otherCloser = 0;
    std::smatch match;
    for (std::size_t n = 1; n <= 282; ++n) {
        const std::string& line = lines[n - 1];
        if (n == 1) {
            EXPECT_EQ(line, "<level id=\"1\">");
        } else if (std::regex_match(line, match, property)) {
            ++levelOneIndents[match[1].length()];
            if (match[4] == "/>") {
                ++otherCloser;
                EXPECT_EQ(n, 60u);
                EXPECT_EQ(match[2], "CameraDefaultFOV");
            }
            const std::string after = match[5];
            EXPECT_TRUE(after.find_first_not_of(' ') == std::string::npos || after == "``")
                << "line " << n;
        } else {
            EXPECT_EQ(line.find_first_not_of(' '), std::string::npos) << "line " << n;
            ++levelOneGaps[line.size()];
        }
    }
    EXPECT_EQ(levelOneIndents, (std::map<std::size_t, int>{{0, 1}, {1, 108}, {4, 124}}));
    EXPECT_EQ(levelOneGaps, (std::map<std::size_t, int>{{0, 12}, {1, 31}, {2, 2}, {4, 2}, {5, 1}}));
    EXPECT_EQ(otherCloser, 1);
    EXPECT_EQ(lines[282], "</level>");

    // Levels 2 to 30: four lines each, both properties indented by one blank.
    const std::vector<std::string> experience = {
        "500",    "1000",   "2250",   "4125",   "6300",   "8500",   "10200",  "11500",
        "13300",  "14450",  "18000",  "22550",  "28200",  "35200",  "44000",  "55000",
        "68800",  "86000",  "108000", "135000", "168000", "210000", "265000", "330000",
        "410000", "513000", "640000", "700000", "770000"};
    for (int id = 2; id <= 30; ++id) {
        const std::size_t at = 283 + 4 * static_cast<std::size_t>(id - 2);
        EXPECT_EQ(lines[at], "<level id=\"" + std::to_string(id) + "\">");
        EXPECT_EQ(lines[at + 1], " <prop n=\"ExpToNextLevel\" v=\"" +
                                     experience[static_cast<std::size_t>(id - 2)] + "\" />");
        EXPECT_EQ(lines[at + 2],
                  " <prop n=\"AllowedSkillsCount\" v=\"" + std::to_string(id - 1) + "\" />");
        EXPECT_EQ(lines[at + 3], "</level>");
    }
    EXPECT_EQ(lines[399], "");

    for (const std::string& line : lines) {
        if (std::regex_match(line, property)) ++properties;
        if (line.find("CameraDefaultFOV") != std::string::npos) ++fieldOfViewLines;
        if (std::regex_match(line, match, levelStart)) {
            EXPECT_NE(match[1].str()[0], '0') << "a level id with a leading zero";
        }
    }
    EXPECT_EQ(properties, 291);
    EXPECT_EQ(fieldOfViewLines, 1);
}

TEST(SkillsFileText, CarriesTheFieldOfViewTextAsGiven) {
    for (const std::string fov : {"62.6", "90", "100.25"}) {
        const std::vector<std::string> lines = splitCrLf(skillsFileText(fov));
        ASSERT_EQ(lines.size(), 400u);
        EXPECT_EQ(lines[59], "<prop n=\"CameraDefaultFOV\" v=\"" + fov + "\"/>");
        // The read-back positions: the name at characters 10 to 25, the value at 31.
        EXPECT_EQ(lines[59].substr(9, 16), "CameraDefaultFOV");
        EXPECT_EQ(lines[59].substr(30, fov.size()), fov);
    }
}

TEST(FieldOfViewCompare, PlainDecimalsAgainstTheDefault) {
    struct Case {
        const char* text;
        std::optional<int> order;
    };
    const Case cases[] = {
        {"62.5", 0},
        {"62.50", 0},
        {"062.500", 0},
        {"62.6", 1},
        {"75.0", 1},
        {"90", 1},
        {"63", 1},
        {"100", 1},
        {"5.", -1},
        {".5", -1},
        {"60.0", -1},
        {"62.49", -1},
        {"62", -1},
        {"0", -1},
        {"9", -1},
        {"62.5000000000000000000001", 1},
        {"99999999999999999999999999", 1},
        {"", {}},
        {".", {}},
        {"abc", {}},
        {"7\"5", {}},
        {"1e2", {}},
        {"6,5", {}},
        {"+75", {}},
        {"-75", {}},
        {" 75", {}},
        {"75 ", {}},
        {"62.5.", {}},
        {"6..5", {}},
        {"inf", {}},
        {"0x3E", {}},
        {"\xbd", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareWithTheGamesView(c.text), c.order) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace quorvik::overrides
