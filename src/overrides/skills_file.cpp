#include "overrides/skills_file.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace quorvik::overrides {
namespace {

enum class Kind { Property, Gap, FieldOfView };

// One line of level 1. A property line is the blanks, "<prop n=", the name and
// the value in double quotes, the closer " />" and what follows it; a gap line
// is nothing but its blanks.
struct BodyLine {
    Kind kind;
    int blanks;
    std::string_view name;
    std::string_view value;
    std::string_view after;
};

constexpr std::string_view kBlanks = "        ";

constexpr BodyLine prop(int blanks, std::string_view name, std::string_view value,
                        int trailingBlanks = 0) {
    return {Kind::Property, blanks, name, value, kBlanks.substr(0, trailingBlanks)};
}
constexpr BodyLine prop(int blanks, std::string_view name, std::string_view value,
                        std::string_view after) {
    return {Kind::Property, blanks, name, value, after};
}
constexpr BodyLine gap(int blanks) {
    return {Kind::Gap, blanks, {}, {}, {}};
}
// The one line that varies; it has no indentation and its closer lacks the blank.
constexpr BodyLine fieldOfView() {
    return {Kind::FieldOfView, 0, "CameraDefaultFOV", {}, {}};
}

// Level 1, file lines 2 to 282, as the game ships them, oddities included:
// misspelt names, uneven indentation, blanks and two grave accents after some
// closers.
// clang-format off
constexpr BodyLine kLevelOneBody[] = {
    prop(4, "LookVertSpeed_Pad", "120.0"),
    prop(4, "LookHorzSpeed_Pad", "260.0"),
    prop(4, "LookVertAcc_Pad", "2500.0"),
    prop(4, "LookHorzAcc_Pad", "2500.0"),
    prop(4, "LookVertDec_Pad", "50000.0"),
    prop(4, "LookHorzDec_Pad", "50000.0"),
    gap(0),
    prop(4, "LookAimVertSpeed_Pad", "55.0"),
    prop(4, "LookAimHorzSpeed_Pad", "105.0"),
    prop(4, "LookAimVertAcc_Pad", "2500.0"),
    prop(4, "LookAimHorzAcc_Pad", "2500.0"),
    prop(4, "LookAimVertDec_Pad", "50000.0"),
    prop(4, "LookAimHorzDec_Pad", "50000.0"),
    gap(0),
    prop(4, "LookVertSpeed_Mouse", "0.25"),
    prop(4, "LookHorzSpeed_Mouse", "0.25"),
    prop(4, "LookVertAcc_Mouse", "1000000.0"),
    prop(4, "LookHorzAcc_Mouse", "1000000.0"),
    prop(4, "LookVertDec_Mouse", "1000000.0"),
    prop(4, "LookHorzDec_Mouse", "1000000.0"),
    gap(0),
    prop(4, "LookAimVertSpeed_Mouse", "0.125"),
    prop(4, "LookAimHorzSpeed_Mouse", "0.125"),
    prop(4, "LookAimVertAcc_Mouse", "5000000.0"),
    prop(4, "LookAimHorzAcc_Mouse", "5000000.0"),
    prop(4, "LookAimVertDec_Mouse", "5000000.0"),
    prop(4, "LookAimHorzDec_Mouse", "5000000.0"),
    gap(1),
    prop(4, "RamingLevel", "1"),
    prop(4, "BluntWeaponsSkill", "0"),
    prop(4, "SharpWeaponsSkill", "0"),
    prop(4, "FireWeaponsSkill", "0"),
    prop(4, "DefensiveMoveLevel", "0"),
    prop(4, "PenaltyOnDeath", "1", 2),
    prop(4, "SlowMoOnPlayerDeath", "0"),
    prop(4, "TISMode", "1"),
    prop(4, "DamageBulletVisModif", "0.7", 2),
    prop(4, "BlastKillExperienceBonus", "1.0"),
    prop(1, "KnockDownInPlaceFromLowHealth", "1.0"),
    prop(1, "StrafeJumping", "1.0", 2),
    prop(1, "DmgResAfterDeathDur", "5.0", 8),
    prop(1, "CanUseWeaponsInKnockDown", "-1.0", 6),
    gap(2),
    prop(4, "UseGPSNavigation", "1"),
    gap(2),
    prop(4, "BulletPenetrationChance", "0."),
    prop(4, "KnockDownLayingTime", "0.1f"),
    prop(1, "HeadAccuracyTollerance", "1.0"),
    prop(1, "SprintLookFromLS", "-1.0"),
    prop(1, "MoveWhenCarryMaxSpeedFactor", "0.7"),
    prop(1, "MoveWhenCarryMinSpeedFactor", "0.2"),
    gap(1),
    prop(1, "ThrowMaxDist", "900.0", 1),
    gap(1),
    prop(1, "FinisherMult", "4.0"),
    prop(1, "FinisherStaminaUsageMult", "2.0"),
    prop(1, "FuryUsage", "0.0"),
    prop(1, "FuryPointsAfterKill", "0.05"),
    fieldOfView(),
    prop(1, "BulletHitMissEffects", "1.0"),
    prop(4, "HideWeaponsDuringSprint", "1.0"),
    prop(4, "SelfHealing", "1.0"),
    gap(4),
    prop(4, "HealthRegenerationStartTime", "2.0"),
    prop(4, "HealthRegenerationMaxLevel", "30.0"),
    prop(4, "HealthRegenerationSpeedInStand", "20.0"),
    prop(4, "HealthRegenerationSpeedInWalk", "20.0"),
    prop(4, "HealthRegenerationSpeedInCrounch", "20.0"),
    prop(4, "HealthRegenerationSpeedInCrounchWalk", "20.0"),
    prop(4, "HealthRegenerationSpeedInSprint", "20.0"),
    prop(1, "HealthRegenerationSpeedInKnockDown", "20.0"),
    gap(1),
    prop(1, "MaxHealth", "100"),
    prop(1, "BaseMaxHealth", "100"),
    prop(1, "BaseCriticalHealth", "30"),
    gap(1),
    prop(1, "HealthStateFeedbackStartEffectLevel", "50.0"),
    prop(1, "HealthStateFeedbackFullEffectLevel", "25.0"),
    gap(1),
    prop(1, "FistsAnalogFight", "1"),
    prop(1, "FistsDamageMul", "0"),
    prop(1, "FistsForceMul", "0"),
    prop(1, "FistsAttackSpeedMul", "0"),
    prop(1, "FistsCriticalChance", "0"),
    prop(4, "FistsCriticalDmgMul", "0"),
    prop(4, "FistsCritSevereLimbProb", "0.2"),
    prop(1, "FistsKillExperienceBonus", "0"),
    gap(1),
    prop(1, "FppBloodSplats", "0"),
    gap(1),
    prop(1, "LowHealthDamageMul", "0"),
    prop(1, "LowHealthForceMul", "0"),
    gap(0),
    prop(4, "MeeleDamageMul", "0"),
    prop(4, "MeeleForceMul", "0"),
    prop(1, "MeeleAttackSpeedMul", "0"),
    gap(1),
    prop(1, "BreakDoorEffectivens", "0"),
    gap(1),
    prop(4, "BluntDamageMul", "0"),
    prop(4, "BluntForceMul", "0"),
    prop(4, "BluntWpnDurabilityLoss", "1.0"),
    prop(4, "BluntCriticalChance", "0"),
    prop(4, "BluntCriticalDmgMul", "0"),
    prop(1, "BluntCritSevereLimbProb", "0.2"),
    prop(4, "BluntAttackSpeedMul", "0"),
    prop(1, "BluntKillExperienceBonus", "0"),
    gap(1),
    prop(1, "CutDamageMul", "0"),
    prop(4, "CutForceMul", "0"),
    prop(4, "CutWpnDurabilityLoss", "1.0"),
    prop(4, "CutCriticalChance", "0"),
    prop(4, "CutCriticalDmgMul", "0"),
    prop(1, "CutCritSevereLimbProb", "0.2"),
    prop(4, "CutAttackSpeedMul", "0"),
    prop(1, "CutKillExperienceBonus", "0"),
    gap(1),
    prop(1, "RangedDamageMul", "0"),
    prop(4, "RangedForceMul", "0"),
    prop(1, "RangedAccuracy", "0"),
    prop(4, "RangedWpnDurabilityLoss", "0.1"),
    prop(4, "RangedCriticalChance", "0"),
    prop(4, "RangedCriticalDmgMul", "0"),
    prop(4, "RangedCritSevereLimbProb", "0.2"),
    prop(4, "RangedAttackSpeedMul", "0"),
    prop(1, "RangedKillExperienceBonus", "0"),
    gap(1),
    prop(1, "BulletDamageMul", "0"),
    prop(4, "BulletForceMul", "0"),
    prop(1, "BulletAccuracyFactor", "1.0"),
    prop(4, "BulletWpnDurabilityLoss", "0.1"),
    prop(4, "BulletCriticalChance", "0"),
    prop(4, "BulletCriticalDmgMul", "0"),
    prop(4, "BulletAttackSpeedMul", "0"),
    prop(1, "BulletKillExperienceBonus", "0"),
    gap(0),
    prop(4, "MedPackEffectivness", "1"),
    prop(1, "CoopMedPackEffectivenss", "1"),
    prop(1, "InjectorDurationBonus", "0"),
    gap(1),
    prop(1, "QuickSlotsCount", "6"),
    prop(1, "InventorySize", "12"),
    prop(1, "MaxInventorySize", "-1"),
    gap(1),
    prop(1, "KillExperienceBonus", "0"),
    prop(4, "QuestExperienceBonus", "0"),
    gap(0),
    prop(4, "MaxStamina", "1"),
    prop(1, "StompStaminaUsage", "0.3"),
    prop(4, "StaminaRegeneration", "0.3"),
    gap(1),
    prop(1, "GentlePushAvailable", "0.0"),
    prop(1, "RamingDamageLev1", "30.0"),
    prop(1, "RamingPhysicalDamageLev1", "0.0"),
    prop(1, "RamingForceLev1", "0.0"),
    prop(1, "RamingStaminaUsageLev1", "0.0"),
    prop(1, "RamingAvailableLev1", "0.0"),
    gap(1),
    prop(1, "RamingDamageLev2", "0.0"),
    prop(1, "RamingPhysicalDamageLev2", "30.0"),
    prop(1, "RamingForceLev2", "30.0"),
    prop(1, "RamingStaminaUsageLev2", "0.2"),
    prop(1, "RamingAvailableLev2", "1.0"),
    gap(1),
    prop(1, "RamingDamageLev3", "20.0"),
    prop(1, "RamingPhysicalDamageLev3", "40.0"),
    prop(1, "RamingForceLev3", "30.0"),
    prop(1, "RamingStaminaUsageLev3", "0.2"),
    prop(1, "RamingAvailableLev3", "1.0"),
    gap(1),
    prop(1, "RamingDamageLev4", "30.0"),
    prop(1, "RamingPhysicalDamageLev4", "40.0"),
    prop(1, "RamingForceLev4", "30.0"),
    prop(1, "RamingStaminaUsageLev4", "0.1"),
    prop(1, "RamingAvailableLev4", "1.0"),
    gap(1),
    prop(4, "MeeleDRPercent", "0"),
    prop(4, "MeeleDRFixed", "0"),
    gap(0),
    prop(4, "RangedDRPercent", "0"),
    prop(4, "RangedDRFixed", "0"),
    gap(0),
    prop(4, "EnviromentalDRPercent", "0"),
    prop(4, "EnviromentalDRFixed", "0"),
    gap(0),
    prop(4, "BreathAmount", "1"),
    prop(4, "BreathRegeneration", "0.3"),
    prop(4, "BreathUsage", "0.1"),
    gap(0),
    prop(4, "MoveForwardMinSpeed", "10"),
    prop(4, "MoveForwardMaxSpeed", "350"),
    prop(4, "MoveBackwardMinSpeed", "10"),
    prop(4, "MoveBackwardMaxSpeed", "250"),
    prop(4, "MoveStrafeMinSpeed", "10"),
    prop(4, "MoveStrafeMaxSpeed", "250"),
    prop(4, "MoveSprintSpeed", "550"),
    prop(4, "MoveSprintStaminaConsumption", "0.05"),
    prop(4, "MoveAcceleration", "700"),
    prop(4, "MoveDeceleration", "1000"),
    gap(4),
    prop(4, "CrouchForwardMinSpeed", "10"),
    prop(4, "CrouchForwardMaxSpeed", "150"),
    prop(4, "CrouchBackwardMinSpeed", "10"),
    prop(4, "CrouchBackwardMaxSpeed", "150"),
    prop(4, "CrouchStrafeMinSpeed", "10"),
    prop(4, "CrouchStrafeMaxSpeed", "150"),
    prop(4, "CrouchAcceleration", "400"),
    prop(4, "CrouchDeceleration", "1000"),
    gap(1),
    prop(1, "AimBackwardMaxSpeed", "250"),
    prop(4, "AimBackwardMinSpeed", "10"),
    prop(4, "AimForwardMaxSpeed", "350"),
    prop(4, "AimForwardMinSpeed", "10"),
    prop(4, "AimStrafeMaxSpeed", "250"),
    prop(4, "AimStrafeMinSpeed", "10"),
    prop(4, "AimAcceleration", "700"),
    prop(4, "AimDeceleration", "1000"),
    gap(0),
    prop(4, "AimCrouchBackwardMaxSpeed", "150"),
    prop(4, "AimCrouchBackwardMinSpeed", "10"),
    prop(4, "AimCrouchForwardMaxSpeed", "150"),
    prop(4, "AimCrouchForwardMinSpeed", "10"),
    prop(4, "AimCrouchStrafeMaxSpeed", "150"),
    prop(4, "AimCrouchStrafeMinSpeed", "10"),
    prop(4, "AimCrouchAcceleration", "400"),
    prop(4, "AimCrouchDeceleration", "1000"),
    gap(0),
    prop(4, "SwimMinSpeed", "0"),
    prop(4, "SwimMaxSpeed", "300"),
    prop(4, "SwimSprintSpeed", "400"),
    prop(4, "SwimAcceleration", "100"),
    prop(4, "SwimDeceleration", "100"),
    gap(1),
    prop(1, "JumpStaminaCost", "0.06"),
    prop(4, "JumpMaxHeight", "85"),
    prop(1, "JumpMinHeight", "85"),
    gap(1),
    prop(1, "ExpToNextLevel", "100"),
    prop(1, "AllowedSkillsCount", "0"),
    gap(1),
    prop(1, "GrappleEscapeMul", "2", 1),
    prop(1, "EnemyGrabChance", "1", 2),
    gap(1),
    prop(1, "MaxAmmoPistol", "50"),
    prop(1, "MaxAmmoRifle", "60", "``"),
    prop(1, "MaxAmmoShotgun", "20"),
    prop(1, "MaxAmmoSniper", "15", 3),
    gap(5),
    prop(1, "FirearmsPistolReloadTimeMul", "1.0", 4),
    prop(1, "FirearmsRevolverReloadTimeMul", "1.0", 2),
    prop(1, "FirearmsRifleReloadTimeMul", "1.0"),
    prop(1, "FirearmsShotgunReloadTimeMul", "1.0", 3),
    gap(1),
    prop(1, "ButcherSkill", "0"),
    prop(1, "SmasherSkill", "0", 1),
    prop(1, "KnockOutTimeMul", "1.0"),
    prop(1, "FirearmsPistolCritChanceMul", "0.0", 4),
    prop(1, "FirearmsRevolverCritChanceMul", "0.0", 2),
    prop(1, "FirearmsRifleCritChanceMul", "0.0"),
    prop(1, "FirearmsShotgunCritChanceMul", "0.0"),
    gap(1),
    prop(1, "FirearmsPistolCritDamageMul", "0.0", 4),
    prop(1, "FirearmsRevolverCritDamageMul", "0.0", 2),
    prop(1, "FirearmsRifleCritDamageMul", "0.0"),
    prop(1, "FirearmsShotgunCritDamageMul", "0.0"),
    gap(1),
    prop(1, "RangeMeleeMul", "1.0", 2),
    prop(1, "StomperSkillLevel", "1.0"),
    prop(1, "WeightCanCarry", "25.0"),
    gap(1),
    prop(1, "FirearmsPistolAccuracyFactor", "1.0", 1),
    prop(1, "FirearmsRevolverAccuracyFactor", "1.0", 1),
    prop(1, "FirearmsRifleAccuracyFactor", "1.0"),
    prop(1, "FirearmsShotgunAccuracyFactor", "1.0"),
    gap(1),
    prop(1, "FirearmsPistolRecoilFactor", "1.0", 1),
    prop(1, "FirearmsRevolverRecoilFactor", "1.0", 1),
    prop(1, "FirearmsRifleRecoilFactor", "1.0"),
    prop(1, "FirearmsShotgunRecoilFactor", "1.0"),
    gap(1),
    prop(1, "CoruptionBudget", "0.0"),
};
// clang-format on
static_assert(std::size(kLevelOneBody) == 281);

// ExpToNextLevel of levels 2 to 30; their AllowedSkillsCount is the level id minus one.
constexpr std::array<std::string_view, 29> kExpToNextLevel = {
    "500",    "1000",   "2250",   "4125",   "6300",   "8500",   "10200",  "11500",
    "13300",  "14450",  "18000",  "22550",  "28200",  "35200",  "44000",  "55000",
    "68800",  "86000",  "108000", "135000", "168000", "210000", "265000", "330000",
    "410000", "513000", "640000", "700000", "770000",
};

void appendProperty(std::string& out, int blanks, std::string_view name, std::string_view value,
                    std::string_view closer, std::string_view after) {
    out.append(static_cast<std::size_t>(blanks), ' ');
    out += "<prop n=\"";
    out += name;
    out += "\" v=\"";
    out += value;
    out += '"';
    out += closer;
    out += after;
    out += "\r\n";
}

void appendLevelStart(std::string& out, int id) {
    out += "<level id=\"" + std::to_string(id) + "\">\r\n";
}

constexpr std::string_view kLevelEnd = "</level>\r\n";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// -1, 0 or 1 for two digit strings without leading zeros.
int compareWhole(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int order = a.compare(b);
    return (order > 0) - (order < 0);
}

}  // namespace

std::string skillsFileText(std::string_view fieldOfViewText) {
    std::string out;
    out.reserve(16384);
    appendLevelStart(out, 1);
    for (const BodyLine& line : kLevelOneBody) {
        switch (line.kind) {
            case Kind::Property:
                appendProperty(out, line.blanks, line.name, line.value, " />", line.after);
                break;
            case Kind::FieldOfView:
                appendProperty(out, line.blanks, line.name, fieldOfViewText, "/>", {});
                break;
            case Kind::Gap:
                out.append(static_cast<std::size_t>(line.blanks), ' ');
                out += "\r\n";
                break;
        }
    }
    out += kLevelEnd;
    for (int id = 2; id <= 30; ++id) {
        appendLevelStart(out, id);
        appendProperty(out, 1, "ExpToNextLevel", kExpToNextLevel[static_cast<std::size_t>(id - 2)],
                       " />", {});
        appendProperty(out, 1, "AllowedSkillsCount", std::to_string(id - 1), " />", {});
        out += kLevelEnd;
    }
    out += "\r\n";
    return out;
}

std::optional<std::string> fieldOfViewIn(std::string_view bytes) {
    // The name stands at characters 10 to 25 and the value begins at character 31.
    constexpr std::string_view kName = "CameraDefaultFOV";
    constexpr std::size_t kNameAt = 9;
    constexpr std::size_t kValueAt = 30;
    constexpr std::size_t kShortValue = 4;

    std::optional<std::string> found;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        std::size_t next = end;
        if (next < bytes.size()) next += (bytes.substr(next, 2) == "\r\n") ? 2 : 1;
        bytes.remove_prefix(next);

        if (line.size() < kNameAt + kName.size() || line.substr(kNameAt, kName.size()) != kName) {
            continue;
        }
        const std::string_view rest = line.size() > kValueAt ? line.substr(kValueAt) : "";
        const std::size_t quote = rest.find('"');
        found = std::string(quote != std::string_view::npos ? rest.substr(0, quote)
                                                            : rest.substr(0, kShortValue));
    }
    return found;
}

namespace {

// How a plain decimal (digits, at most one ".") compares with whole.fraction;
// nothing for any other text. Compared as written, digit by digit: no
// rounding, no locale.
std::optional<int> compareDecimal(std::string_view text, std::string_view otherWhole,
                                  std::string_view otherFraction) {
    const auto point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    const auto allDigits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), isDigit);
    };
    if (!allDigits(whole) || !allDigits(fraction) || whole.size() + fraction.size() == 0) {
        return std::nullopt;
    }
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.remove_suffix(fraction.size() - (fraction.find_last_not_of('0') + 1));
    if (const int order = compareWhole(whole, otherWhole); order != 0) return order;
    const int order = fraction.compare(otherFraction);
    return (order > 0) - (order < 0);
}

}  // namespace

std::optional<int> compareWithTheGamesView(std::string_view text) {
    return compareDecimal(text, "62", "5");
}

bool gameTakesFieldOfView(std::string_view text) {
    const std::optional<int> order = compareDecimal(text, "99", "9");
    return order && *order <= 0;
}

}  // namespace quorvik::overrides
