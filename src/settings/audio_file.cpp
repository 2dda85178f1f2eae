// Audio.scr: the keys the tool reads and the 35-line template it writes.

#include <array>

#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

using namespace table;

constexpr std::array kAudioKeys = {
    choice("API", &P::Combo7),
    text("MixFrequency", &P::Text16),
    text("Channels", &P::Text17),
    choice("Quality3D", &P::Combo8),
    text("MaxVolume", &P::Text18),
    text("FXVolume", &P::Text19),
    text("WaveVolume", &P::Text20),
    text("SpeechVolume", &P::Text21),
    // With its parenthesis, so that a MovieVolumeSource line does not match.
    KeyRule{"MovieVolume(", 13, Rule::Text, &P::Text22},
    flag("ForceSoftware()", &P::Check8),
    flag("ForceSoftwareEAX()", &P::Check7),
    flag("ForceNoFXes()", &P::Check6),
    flag("UseEAX()", &P::Check5),
    flag("ExtraSounds01()", &P::Check10),
    flag("DebugMode()", &P::Check9),
};

constexpr std::array kAudioTemplate = {
    fixed("!API(s)            // aDS3D, aOpenAL, aXACT, XAudio2, NoSound"),
    fixed("!MixFrequency(i)"),
    fixed("!Channels(i)"),
    fixed("!ForceSoftware()"),
    fixed("!ForceSoftwareEAX()"),
    fixed("!ForceNoFXes()"),
    fixed("!Quality3D(s)      // low, medium, high"),
    fixed("!UseEAX()"),
    fixed("!ExtraSounds01()"),
    fixed("!SpeechVolume(i)"),
    fixed("!FXVolume(i)"),
    fixed("!WaveVolume(i) //music"),
    fixed("!MaxVolume(i)"),
    fixed("!MovieVolume(i)"),
    fixed("!MovieVolumeSource(i)"),
    fixed("!GlobalSettings(s)"),
    fixed("!DebugMode()"),
    fixed(""),
    quoted("API", &P::Combo7, "Audio API"),
    value("MixFrequency", &P::Text16, "Mix Frequency"),
    value("Channels", &P::Text17, "Channels"),
    quoted("Quality3D", &P::Combo8, "3D Quality"),
    value("MaxVolume", &P::Text18, "Max Volume"),
    value("FXVolume", &P::Text19, "Effects Volume"),
    value("WaveVolume", &P::Text20, "Music Volume"),
    value("SpeechVolume", &P::Text21, "Speech Volume"),
    value("MovieVolume", &P::Text22, "Movie Volume"),
    fixed("MovieVolumeSource(0)"),
    fixed("GlobalSettings(\"\")"),
    onOff("DebugMode", &P::Check9, "Debug Mode"),
    onOff("ForceSoftware", &P::Check8, "Force Software"),
    onOff("ForceSoftwareEAX", &P::Check7, "Force Software EAX"),
    onOff("ForceNoFXes", &P::Check6, "Force No Effects"),
    onOff("UseEAX", &P::Check5, "Use EAX"),
    onOff("ExtraSounds01", &P::Check10, "Extra Sounds"),
};
static_assert(kAudioTemplate.size() == 35);

}  // namespace

std::span<const KeyRule> audioKeys() { return kAudioKeys; }
std::span<const TemplateLine> audioTemplate() { return kAudioTemplate; }

std::vector<std::string> audioFileLines(const panel::Panel& panel) {
    return buildLines(panel, kAudioTemplate);
}

std::vector<BadNumber> tidyAudioNumbers(panel::Panel& panel) {
    return tidyNumbers(panel, kAudioTemplate);
}

}  // namespace quorvik::settings
