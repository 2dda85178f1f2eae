// Audio.scr: the 35-line template the tool writes; its settings are read as
// the catalogue says.

#include <array>

#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

using namespace table;

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
    value(SettingId::API),
    value(SettingId::MixFrequency),
    value(SettingId::Channels),
    value(SettingId::Quality3D),
    value(SettingId::MaxVolume),
    value(SettingId::FXVolume),
    value(SettingId::WaveVolume),
    value(SettingId::SpeechVolume),
    value(SettingId::MovieVolume),
    fixed("MovieVolumeSource(0)"),
    fixed("GlobalSettings(\"\")"),
    value(SettingId::DebugMode),
    value(SettingId::ForceSoftware),
    value(SettingId::ForceSoftwareEAX),
    value(SettingId::ForceNoFXes),
    value(SettingId::UseEAX),
    value(SettingId::ExtraSounds01),
};
static_assert(kAudioTemplate.size() == 35);

}  // namespace

std::span<const TemplateLine> audioTemplate() { return kAudioTemplate; }

std::vector<BadNumber> tidyAudioNumbers(Values& values) {
    return tidyNumbers(values, kAudioTemplate);
}

}  // namespace quorvik::settings
