#include "app/help_texts.h"

#include <string>

#include "panel/layout.h"

namespace quorvik::app {
namespace {

// One row per control that explains itself, in the order the texts are attached.
// Lines are joined with CR LF when attached; "" is a blank line. The texts go
// through the system's 8-bit code page, so they keep to its characters. The
// table is laid out by hand, one source line per shown line where it fits.
const std::vector<HelpText>& table() {
    // clang-format off
    static const std::vector<HelpText> kTexts = {
        {"Command1",
         {"Video.scr path must be set to change load/change/backup/save settings. On Windows 7 & "
          "Vista this will be:",
          "\"C:\\Users\\%USERNAME%\\Documents\\QuellMoor\\out\\Settings\"",
          "Please enter the full path without a trailing \\ and without quotes."}},
        {"Text1",
         {"The display resolution is the number of distinct pixels the screen shows in each "
          "direction.",
          "It is given as width × height in pixels: the width goes in this box, the height beside "
          "it.",
          "For example, \"1024×768\" means 1024 pixels across and 768 pixels down.",
          "More pixels give a sharper picture but ask more of the graphics card.",
          "That example is said aloud as \"ten twenty-four by seven sixty-eight\"",
          "or \"ten twenty-four times seven sixty-eight\"."}},
        {"Text4",
         {"Colour depth, or bits per pixel, is the number of bits that store the colour of one "
          "pixel.",
          "The more bits, the more colours the screen can show: 16 bits give 65,536 colours.",
          "That is enough for most scenes, but smooth gradients such as a clear sky may show "
          "bands.",
          "",
          "True colour uses 24 bits per pixel, 8 bits each for red, green and blue.",
          "That gives 256 shades per channel and over 16.7 million colours in all.",
          "This is more than the eye can tell apart, so gradients look smooth.",
          "32 bits is true colour plus 8 bits of padding or transparency (alpha).",
          "It shows the same colours and is often handled faster by the graphics card. "
          "(Default 24, Valid values are 16,24,32)"}},
        {"Text5",
         {"Anti-aliasing smooths the jagged, stair-stepped edges of polygons.",
          "Super-sampling (SSAA) renders the whole picture at a higher resolution and scales it "
          "down.",
          "Multi-sample anti-aliasing (MSAA) takes extra samples only along the edges of polygons.",
          "MSAA looks nearly as smooth as super-sampling at a fraction of the cost.",
          "",
          "A setting of 2x or 4x samples the picture at two or four times the resolution.",
          "Each step up looks smoother but uses more graphics memory and lowers the frame rate.",
          "At high resolutions 2x is often enough; 0 turns anti-aliasing off.",
          "(Default 0, Valid values are 2,4,8,16)"}},
        {"Combo1",
         {"An anisotropic surface is one seen at a steep angle, like a road stretching into the "
          "distance.",
          "",
          "Anisotropic filtering keeps the textures of such surfaces sharp and detailed.",
          "Bilinear filtering blurs them; trilinear filtering only smooths the steps between "
          "detail levels.",
          "Anisotropic filtering costs a little more speed than either and looks best."}},
        {"Text10", {"lower is better"}},
        {"Text11", {"lower is better"}},
        {"Text12", {"lower is better"}},
        {"Text13", {"higher is better"}},
        {"Text14", {"0-4 (lower is better)"}},
        {"Text15",
         {"The field of view is the angle of the game world you see on screen at once, in degrees.",
          "",
          "How wide the picture spans depends on the screen's aspect ratio (4:3, 16:10 or 16:9).",
          "A value that feels right on one shape of screen can feel cramped or stretched on "
          "another.",
          "Enter as 00.0 format even if it's a whole number!, ie: 60.0 (Default 62.5)"}},
        {"Text7",
         {"Gamma encoding spreads an image's brightness levels to suit the way we see.",
          "Our eyes tell dark shades apart far better than bright ones.",
          "A gamma curve therefore gives more of the available levels to the shadows.",
          "This value adjusts the brightness curve of the whole picture, in full screen only.",
          "Change it until dark areas keep their detail without the picture looking washed out.",
          "(Default: 1.00, Valid values are 0.50 - 1.50)"}},
        {"Text3",
         {"The refresh rate is how many times per second the monitor redraws its picture, in "
          "hertz (Hz).",
          "It is not the frame rate, which counts the new images the game renders each second.",
          "The monitor cannot show more distinct frames per second than its refresh rate.",
          "",
          "Cinema film runs at 24 frames per second, yet a projector flashes each frame two or "
          "three times.",
          "The screen is lit 48 or 72 times a second, so the picture does not flicker.",
          "",
          "LCD screens do not flicker that way, because each pixel holds its colour until it "
          "changes.",
          "Their refresh rate still limits how smooth motion looks.",
          "Most run at 60 Hz; faster gaming models run at 75 Hz, 120 Hz or more.",
          "Choose a rate your monitor lists as supported at the resolution you use.",
          "",
          "On CRT monitors a low rate causes visible flicker and eye strain.",
          "A rate above what the monitor supports can damage it. "
          "(Default: 60, Valid values depend on your monitor)"}},
        {"Check3",
         {"Vertical sync makes the game wait for the monitor to finish a refresh before showing "
          "the next frame.",
          "This removes tearing, where parts of two frames show at once, split by a horizontal "
          "line.",
          "When the game cannot keep up with the refresh rate, frames are held back and motion "
          "may judder.",
          "(Default: Off)"}},
        {"Check4",
         {"Motion blur is the streaking of moving things that a camera records while its shutter "
          "is open.",
          "Computer animation renders every frame as a sharp instant, so fast movement can look "
          "choppy.",
          "Simulated motion blur smears moving things along their path to imitate a real camera.",
          "It makes motion look smoother, especially at low frame rates.",
          "",
          "Games use two kinds: camera motion blur blurs the whole view while you turn or move "
          "quickly.",
          "Object motion blur blurs only what moves fast, such as a swinging weapon.",
          "Turning motion blur off gives a sharper picture and a little more speed.",
          "(Default: On)"}},
        {"Text8",
         {"ShadowMapSize is the resolution at which shadows are rendered: larger maps give "
          "sharper shadows.",
          "Use low numbers for low-end systems or small monitors, high numbers for high-end "
          "systems or large monitors.",
          "4096 is recommended only for ATI cards, as NVIDIA cards may struggle with it (advice "
          "from a forum member)",
          "(Default: 512, Valid values are 512, 1024, 2048, 4096)"}},
        {"Text9",
         {"SpotShadowMapSize typically is equal to or double the ShadowMapSize for a max of 4096",
          "(Default: 1024, Valid values are 512, 1024, 2048, 4096)"}},
        {"Check2",
         {"Fullscreen Toggle, If unchecked will run in a window set to full screen size. "
          "Reccommended ON, Gamma settings will not apply if run in a Window.",
          "(Default: On)"}},
        {"Combo6",
         {"Post-processing works on the finished picture after the 3D scene has been rendered.",
          "It treats the whole screen like a photograph: bloom and glow, depth of field, motion "
          "blur, colour effects.",
          "Simple keeps these effects light for speed; Normal gives the fuller look at some cost "
          "in frame rate.",
          "(Default: Simple)"}},
        {"Combo5",
         {"Shaders are small programs the graphics card runs for every vertex and pixel to light "
          "the scene.",
          "In the unified shader model (SM 4.0, and the XBOX360's graphics chip) every unit runs "
          "any shader.",
          "It needs a graphics card of that generation.",
          "",
          "Earlier models (SM 1.1 to SM 3.0) have separate vertex and pixel units and fewer "
          "features.",
          "Each higher number allows richer lighting; choose the highest your card supports.",
          "(Default: SM 3.0)"}},
        {"Text18", {"(Max Value: 40)"}},
        {"Text19", {"(Valid Values: 0-40)"}},
        {"Text20", {"(Valid Values: 0-40)"}},
        {"Text21", {"(Valid Values: 0-40)"}},
        {"Text22", {"(Valid Values: 0-40)"}},
        {"Text16",
         {"Audio Sampling Frequency 44100 = 44.1 Hz (Valid Values: 16000, 22050, 32000, 44100, "
          "44800, 48000, 96000, 192000) (Default 44100)"}},
        {"Combo7",
         {"XAudio2 or OpenAL? Both play 3D positional sound, and the usual advice runs:",
          "‘Use XAudio2 unless your sound card offers hardware acceleration for OpenAL.’",
          "",
          "‘Hardware acceleration moves mixing and 3D effects from the processor to the sound "
          "card.",
          "Without such a card OpenAL mixes in software and gains nothing over XAudio2.’"}},
        {"Check5",
         {"EAX (Environmental Audio Extensions) adds room acoustics such as echo and "
          "reverberation.",
          "",
          "It offers presets for typical surroundings such as caves, halls, forests and "
          "underwater.",
          "A sound-card maker brought it out in the late 1990s, and it grew through several "
          "versions.",
          "",
          "Newer systems no longer pass EAX through to the sound card, so it is deprecated.",
          "Its successor is OpenAL's Effects Extension (EFX), with the same kind of effects. "
          "(Default: Off)"}},
    };
    // clang-format on
    return kTexts;
}

}  // namespace

std::span<const HelpText> helpTexts() { return table(); }

std::string_view helpSummary(std::string_view control) {
    for (const auto& help : helpTexts()) {
        if (help.control == control && !help.lines.empty()) return help.lines.front();
    }
    return {};
}

std::string assembleHelpText(const HelpText& help) {
    std::string text;
    for (std::size_t i = 0; i < help.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += help.lines[i];
    }
    return text;
}

void setUpToolTips(ToolTipApi& toolTips) {
    toolTips.Create();
    toolTips.setMaxTipWidth(240);
    toolTips.setDelayTime(2, 20000);
    for (const auto& control : panel::layout()) toolTips.AddTool(control.name, {});
    for (const auto& help : helpTexts()) toolTips.setToolText(help.control, assembleHelpText(help));
}

}  // namespace quorvik::app
