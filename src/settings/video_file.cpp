// Video.scr: the 51-line template the tool writes; its settings are read as
// the catalogue says.

#include <array>

#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

using namespace table;

constexpr std::array kVideoTemplate = {
    fixed("!Resolution(i,i)"),
    fixed("!WindowOffset(i,i)"),
    fixed("!Monitor(i)            // -1 primary monitor"),
    fixed("!BPP(i)"),
    fixed("!FSAA(i)               // Full Screen AntiAliasing, 0 - none, higher is better"),
    fixed("!TexBPP(i)"),
    fixed("!TextureQuality(s)     // VeryLow, Low, High"),
    fixed("!Filtering(s)          // Bilinear, Trilinear, Anisotropic, AnisotropicTrilinear"),
    fixed("!GammaFloat(f)"),
    fixed("!MaxRefresh(i)"),
    fixed("!Shadows(s)            // Low, High"),
    fixed("!ShadowMapSize(i)"),
    fixed("!SpotShadowMapSize(i)"),
    fixed("!Lightmaps()"),
    fixed("!Fullscreen()"),
    fixed("!VSync()               // enable vertical sync"),
    fixed("!MaterialQuality(i)    // lower is better"),
    fixed("!WaterQuality(i)       // lower is better"),
    fixed("!GrassQuality(i)       // lower is better"),
    fixed("!FXQuality(i)          // higher is better"),
    fixed("!FXFadeLevel(i)        // 0-4 (lower is better)"),
    fixed("!EnvQuality(s)         // FullDynamic, RareDynamic, Static"),
    fixed(
        "!ShaderPath(i)         // 0 - 1.1, 1 - 1.4, 2 - 2.0, 3 - 3.0, 4 - x360, 5 - 4.0, 6 - ps3"),
    fixed("!PostProcess(s)        // Simple, Normal"),
    fixed("!DisplayDeviceType(i,f,f,f,f)  //device type (LCD TV etc.): 0 - default"),
    fixed("!Curves(s)             // curves texure"),
    fixed(""),
    value(SettingId::Resolution),
    fixed("Monitor(0)"),
    value(SettingId::BPP),
    value(SettingId::FSAA),
    value(SettingId::TexBPP),
    value(SettingId::TextureQuality),
    value(SettingId::Filtering),
    value(SettingId::Fullscreen),
    value(SettingId::Shadows),
    value(SettingId::ShadowMapSize),
    value(SettingId::SpotShadowMapSize),
    value(SettingId::Lightmaps),
    value(SettingId::GammaFloat),
    value(SettingId::MaxRefresh),
    value(SettingId::MaterialQuality),
    value(SettingId::FXQuality),
    value(SettingId::FXFadeLevel),
    value(SettingId::WaterQuality),
    value(SettingId::GrassQuality),
    value(SettingId::EnvQuality),
    value(SettingId::ShaderPath),
    value(SettingId::VSync),
    value(SettingId::PostProcess),
    fixed("DisplayDeviceType(0,0.000000,1.000000,1.000000,1.000000)"),
};
static_assert(kVideoTemplate.size() == 51);

}  // namespace

std::span<const TemplateLine> videoTemplate() { return kVideoTemplate; }

std::vector<BadNumber> tidyVideoNumbers(Values& values) {
    return tidyNumbers(values, kVideoTemplate);
}

}  // namespace quorvik::settings
