// Video.scr: the keys the tool reads and the 51-line template it writes.

#include <array>

#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

using namespace table;

constexpr std::array kVideoKeys = {
    KeyRule{"Resolution", 12, Rule::Resolution, &P::Text1, &P::Text2},
    text("BPP", &P::Text4),
    text("FSAA", &P::Text5),
    text("TexBPP", &P::Text6),
    choice("TextureQuality", &P::Combo2),
    choice("Filtering", &P::Combo1),
    text("GammaFloat", &P::Text7),
    text("MaxRefresh", &P::Text3),
    choice("Shadows", &P::Combo3),
    text("ShadowMapSize", &P::Text8),
    text("SpotShadowMapSize", &P::Text9),
    flag("Lightmaps()", &P::Check1),
    flag("Fullscreen()", &P::Check2),
    flag("Vsync()", &P::Check3),
    flag("VSync()", &P::Check3),
    text("MaterialQuality", &P::Text10),
    text("FXQuality", &P::Text13),
    text("FXFadeLevel", &P::Text14),
    text("WaterQuality", &P::Text11),
    text("GrassQuality", &P::Text12),
    choice("EnvQuality", &P::Combo4),
    KeyRule{"ShaderPath", 12, Rule::Position, nullptr, nullptr, &P::Combo5},
    choice("PostProcess", &P::Combo6),
};

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
    fixed("!ShaderPath(i)         // 0 - 1.1, 1 - 1.4, 2 - 2.0, 3 - 3.0, 4 - x360, 5 - 4.0, 6 - ps3"),
    fixed("!PostProcess(s)        // Simple, Normal"),
    fixed("!DisplayDeviceType(i,f,f,f,f)  //device type (LCD TV etc.): 0 - default"),
    fixed("!Curves(s)             // curves texure"),
    fixed(""),
    TemplateLine{Fill::Resolution, "Resolution", &P::Text1, &P::Text2, nullptr, nullptr, "Resolution"},
    fixed("Monitor(0)"),
    value("BPP", &P::Text4, "Bits per Pixel (BPP)"),
    value("FSAA", &P::Text5, "Fullscreen AntiAliasing"),
    value("TexBPP", &P::Text6, "Texture BPP"),
    quoted("TextureQuality", &P::Combo2, "Texture Quality"),
    quoted("Filtering", &P::Combo1, "Filtering Mode"),
    onOff("Fullscreen", &P::Check2, "Full Screen"),
    quoted("Shadows", &P::Combo3, "Shadows"),
    value("ShadowMapSize", &P::Text8, "ShadowMapSize"),
    value("SpotShadowMapSize", &P::Text9, "SpotShadowMapSize"),
    onOff("Lightmaps", &P::Check1, "Lightmaps"),
    value("GammaFloat", &P::Text7, "Gamma Float", Number::Decimal),
    value("MaxRefresh", &P::Text3, "Refresh Rate"),
    value("MaterialQuality", &P::Text10, "Material Quality"),
    value("FXQuality", &P::Text13, "Effects Quality"),
    value("FXFadeLevel", &P::Text14, "Effects Fade Level"),
    value("WaterQuality", &P::Text11, "Water Quality"),
    value("GrassQuality", &P::Text12, "Grass Quality"),
    quoted("EnvQuality", &P::Combo4, "Environment Quality"),
    TemplateLine{Fill::Position, "ShaderPath", nullptr, nullptr, &P::Combo5, nullptr, "Shader Model"},
    onOff("VSync", &P::Check3, "VSync"),
    quoted("PostProcess", &P::Combo6, "Post Processing"),
    fixed("DisplayDeviceType(0,0.000000,1.000000,1.000000,1.000000)"),
};
static_assert(kVideoTemplate.size() == 51);

}  // namespace

std::span<const KeyRule> videoKeys() { return kVideoKeys; }
std::span<const TemplateLine> videoTemplate() { return kVideoTemplate; }

std::vector<std::string> videoFileLines(const panel::Panel& panel) {
    return buildLines(panel, kVideoTemplate);
}

std::vector<BadNumber> tidyVideoNumbers(panel::Panel& panel) {
    return tidyNumbers(panel, kVideoTemplate);
}

}  // namespace quorvik::settings
