// The settings, one row each: everything the tool knows of a setting is here.

#include "catalogue/catalogue.h"

#include <algorithm>
#include <charconv>

#include "platform/text_codec.h"

namespace quorvik::catalogue {
namespace {

// The help texts are kept letter for letter as the window shows them, a line
// an item; they go through the system's 8-bit code page, so they keep to its
// characters. Their closing notes ("(Default 24, Valid values are 16,24,32)")
// say what the default and valid values beside them say.
const std::vector<Setting>& table() {
    // clang-format off
    static const std::vector<Setting> kSettings = {
        {.id = SettingId::Resolution,
         .key = "Resolution",
         .label = "Resolution",
         .place = Place::Video,
         .kind = Kind::WidthHeight,
         .controls = {"Text1", "Text2"},
         .help = {"The display resolution is the number of distinct pixels the screen shows in each "
                  "direction.",
                  "It is given as width × height in pixels: the width goes in this box, the height beside "
                  "it.",
                  "For example, \"1024×768\" means 1024 pixels across and 768 pixels down.",
                  "More pixels give a sharper picture but ask more of the graphics card.",
                  "That example is said aloud as \"ten twenty-four by seven sixty-eight\"",
                  "or \"ten twenty-four times seven sixty-eight\"."},
         .handheld = "1280,800"},
        {.id = SettingId::BPP,
         .key = "BPP",
         .label = "Bits per Pixel (BPP)",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text4"},
         .defaultValue = "24",
         .valid = {"16", "24", "32"},
         .help = {"Colour depth, or bits per pixel, is the number of bits that store the colour of one "
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
                  "(Default 24, Valid values are 16,24,32)"},
         .costly = true},
        {.id = SettingId::FSAA,
         .key = "FSAA",
         .label = "Fullscreen AntiAliasing",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text5"},
         .defaultValue = "0",
         .valid = {"2", "4", "8", "16"},
         .help = {"Anti-aliasing smooths the jagged, stair-stepped edges of polygons.",
                  "Super-sampling (SSAA) renders the whole picture at a higher resolution and scales it "
                  "down.",
                  "Multi-sample anti-aliasing (MSAA) takes extra samples only along the edges of polygons.",
                  "MSAA looks nearly as smooth as super-sampling at a fraction of the cost.",
                  "",
                  "A setting of 2x or 4x samples the picture at two or four times the resolution.",
                  "Each step up looks smoother but uses more graphics memory and lowers the frame rate.",
                  "At high resolutions 2x is often enough; 0 turns anti-aliasing off.",
                  "(Default 0, Valid values are 2,4,8,16)"},
         .costly = true},
        {.id = SettingId::TexBPP,
         .key = "TexBPP",
         .label = "Texture BPP",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text6"}},
        {.id = SettingId::TextureQuality,
         .key = "TextureQuality",
         .label = "Texture Quality",
         .place = Place::Video,
         .kind = Kind::Entry,
         .controls = {"Combo2"},
         .entries = {"VeryLow", "Low", "High"},
         .costly = true},
        {.id = SettingId::Filtering,
         .key = "Filtering",
         .label = "Filtering Mode",
         .place = Place::Video,
         .kind = Kind::Entry,
         .controls = {"Combo1"},
         .entries = {"Bilinear", "Trilinear", "Anisotropic", "AnisotropicTrilinear"},
         .help = {"An anisotropic surface is one seen at a steep angle, like a road stretching into the "
                  "distance.",
                  "",
                  "Anisotropic filtering keeps the textures of such surfaces sharp and detailed.",
                  "Bilinear filtering blurs them; trilinear filtering only smooths the steps between "
                  "detail levels.",
                  "Anisotropic filtering costs a little more speed than either and looks best."},
         .costly = true},
        {.id = SettingId::Fullscreen,
         .key = "Fullscreen",
         .label = "Full Screen",
         .place = Place::Video,
         .kind = Kind::OnOff,
         .controls = {"Check2"},
         .defaultValue = "on",
         .help = {"Fullscreen Toggle, If unchecked will run in a window set to full screen size. "
                  "Reccommended ON, Gamma settings will not apply if run in a Window.",
                  "(Default: On)"}},
        {.id = SettingId::Shadows,
         .key = "Shadows",
         .label = "Shadows",
         .place = Place::Video,
         .kind = Kind::Entry,
         .controls = {"Combo3"},
         .entries = {"Low", "High"},
         .costly = true},
        {.id = SettingId::ShadowMapSize,
         .key = "ShadowMapSize",
         .label = "ShadowMapSize",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text8"},
         .defaultValue = "512",
         .valid = {"512", "1024", "2048", "4096"},
         .help = {"ShadowMapSize is the resolution at which shadows are rendered: larger maps give "
                  "sharper shadows.",
                  "Use low numbers for low-end systems or small monitors, high numbers for high-end "
                  "systems or large monitors.",
                  "4096 is recommended only for ATI cards, as NVIDIA cards may struggle with it (advice "
                  "from a forum member)",
                  "(Default: 512, Valid values are 512, 1024, 2048, 4096)"},
         .costly = true},
        {.id = SettingId::SpotShadowMapSize,
         .key = "SpotShadowMapSize",
         .label = "SpotShadowMapSize",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text9"},
         .defaultValue = "1024",
         .valid = {"512", "1024", "2048", "4096"},
         .help = {"SpotShadowMapSize typically is equal to or double the ShadowMapSize for a max of 4096",
                  "(Default: 1024, Valid values are 512, 1024, 2048, 4096)"},
         .costly = true},
        {.id = SettingId::Lightmaps,
         .key = "Lightmaps",
         .label = "Lightmaps",
         .place = Place::Video,
         .kind = Kind::OnOff,
         .controls = {"Check1"}},
        {.id = SettingId::GammaFloat,
         .key = "GammaFloat",
         .label = "Gamma Float",
         .place = Place::Video,
         .kind = Kind::Decimal,
         .controls = {"Text7"},
         .defaultValue = "1.00",
         .lowest = 0.5,
         .highest = 1.5,
         .range = "0.50 - 1.50",
         .help = {"Gamma encoding spreads an image's brightness levels to suit the way we see.",
                  "Our eyes tell dark shades apart far better than bright ones.",
                  "A gamma curve therefore gives more of the available levels to the shadows.",
                  "This value adjusts the brightness curve of the whole picture, in full screen only.",
                  "Change it until dark areas keep their detail without the picture looking washed out.",
                  "(Default: 1.00, Valid values are 0.50 - 1.50)"}},
        {.id = SettingId::MaxRefresh,
         .key = "MaxRefresh",
         .label = "Refresh Rate:",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text3"},
         .defaultValue = "60",
         .help = {"The refresh rate is how many times per second the monitor redraws its picture, in "
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
        {.id = SettingId::MaterialQuality,
         .key = "MaterialQuality",
         .label = "Material Quality",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text10"},
         .help = {"lower is better"}},
        {.id = SettingId::FXQuality,
         .key = "FXQuality",
         .label = "Effects Quality",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text13"},
         .help = {"higher is better"}},
        {.id = SettingId::FXFadeLevel,
         .key = "FXFadeLevel",
         .label = "Effects Fade Level",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text14"},
         .lowest = 0,
         .highest = 4,
         .range = "0 - 4",
         .help = {"0-4 (lower is better)"}},
        {.id = SettingId::WaterQuality,
         .key = "WaterQuality",
         .label = "Water Quality",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text11"},
         .help = {"lower is better"}},
        {.id = SettingId::GrassQuality,
         .key = "GrassQuality",
         .label = "Grass Quality",
         .place = Place::Video,
         .kind = Kind::Integer,
         .controls = {"Text12"},
         .help = {"lower is better"}},
        {.id = SettingId::EnvQuality,
         .key = "EnvQuality",
         .label = "Environment Quality",
         .place = Place::Video,
         .kind = Kind::Entry,
         .controls = {"Combo4"},
         .entries = {"Static", "RareDynamic", "FullDynamic"},
         .costly = true},
        {.id = SettingId::ShaderPath,
         .key = "ShaderPath",
         .label = "Shader Model",
         .place = Place::Video,
         .kind = Kind::Position,
         .controls = {"Combo5"},
         .entries = {"SM 1.1", "SM 1.4", "SM 2.0", "SM 3.0", "XBOX360", "SM 4.0", "PS3"},
         .defaultValue = "SM 3.0",
         .help = {"Shaders are small programs the graphics card runs for every vertex and pixel to light "
                  "the scene.",
                  "In the unified shader model (SM 4.0, and the XBOX360's graphics chip) every unit runs "
                  "any shader.",
                  "It needs a graphics card of that generation.",
                  "",
                  "Earlier models (SM 1.1 to SM 3.0) have separate vertex and pixel units and fewer "
                  "features.",
                  "Each higher number allows richer lighting; choose the highest your card supports.",
                  "(Default: SM 3.0)"}},
        {.id = SettingId::VSync,
         .key = "VSync",
         .label = "VSync",
         .place = Place::Video,
         .kind = Kind::OnOff,
         .controls = {"Check3"},
         .readAs = {"Vsync()", "VSync()"},
         .defaultValue = "off",
         .help = {"Vertical sync makes the game wait for the monitor to finish a refresh before showing "
                  "the next frame.",
                  "This removes tearing, where parts of two frames show at once, split by a horizontal "
                  "line.",
                  "When the game cannot keep up with the refresh rate, frames are held back and motion "
                  "may judder.",
                  "(Default: Off)"}},
        {.id = SettingId::PostProcess,
         .key = "PostProcess",
         .label = "Post Processing",
         .place = Place::Video,
         .kind = Kind::Entry,
         .controls = {"Combo6"},
         .entries = {"Simple", "Normal"},
         .defaultValue = "Simple",
         .help = {"Post-processing works on the finished picture after the 3D scene has been rendered.",
                  "It treats the whole screen like a photograph: bloom and glow, depth of field, motion "
                  "blur, colour effects.",
                  "Simple keeps these effects light for speed; Normal gives the fuller look at some cost "
                  "in frame rate.",
                  "(Default: Simple)"},
         .costly = true},
        {.id = SettingId::API,
         .key = "API",
         .label = "Audio API",
         .place = Place::Audio,
         .kind = Kind::Entry,
         .controls = {"Combo7"},
         .entries = {"aDS3D", "aOpenAL", "aXACT", "XAudio2", "NoSound"},
         .help = {"XAudio2 or OpenAL? Both play 3D positional sound, and the usual advice runs:",
                  "‘Use XAudio2 unless your sound card offers hardware acceleration for OpenAL.’",
                  "",
                  "‘Hardware acceleration moves mixing and 3D effects from the processor to the sound "
                  "card.",
                  "Without such a card OpenAL mixes in software and gains nothing over XAudio2.’"}},
        {.id = SettingId::MixFrequency,
         .key = "MixFrequency",
         .label = "Mix Frequency",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text16"},
         .defaultValue = "44100",
         .valid = {"16000", "22050", "32000", "44100", "44800", "48000", "96000", "192000"},
         .help = {"Audio Sampling Frequency 44100 = 44.1 Hz (Valid Values: 16000, 22050, 32000, 44100, "
                  "44800, 48000, 96000, 192000) (Default 44100)"}},
        {.id = SettingId::Channels,
         .key = "Channels",
         .label = "Channels",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text17"}},
        {.id = SettingId::Quality3D,
         .key = "Quality3D",
         .label = "3D Quality",
         .place = Place::Audio,
         .kind = Kind::Entry,
         .controls = {"Combo8"},
         .entries = {"low", "medium", "high"}},
        {.id = SettingId::MaxVolume,
         .key = "MaxVolume",
         .label = "Max Volume",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text18"},
         .highest = 40,
         .range = "up to 40",
         .help = {"(Max Value: 40)"}},
        {.id = SettingId::FXVolume,
         .key = "FXVolume",
         .label = "Effects Volume",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text19"},
         .lowest = 0,
         .highest = 40,
         .range = "0 - 40",
         .help = {"(Valid Values: 0-40)"}},
        {.id = SettingId::WaveVolume,
         .key = "WaveVolume",
         .label = "Music Volume",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text20"},
         .lowest = 0,
         .highest = 40,
         .range = "0 - 40",
         .help = {"(Valid Values: 0-40)"}},
        {.id = SettingId::SpeechVolume,
         .key = "SpeechVolume",
         .label = "Speech Volume",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text21"},
         .lowest = 0,
         .highest = 40,
         .range = "0 - 40",
         .help = {"(Valid Values: 0-40)"}},
        {.id = SettingId::MovieVolume,
         .key = "MovieVolume",
         .label = "Movie Volume",
         .place = Place::Audio,
         .kind = Kind::Integer,
         .controls = {"Text22"},
         .readAs = {"MovieVolume("},
         .lowest = 0,
         .highest = 40,
         .range = "0 - 40",
         .help = {"(Valid Values: 0-40)"}},
        {.id = SettingId::DebugMode,
         .key = "DebugMode",
         .label = "Debug Mode",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check9"}},
        {.id = SettingId::ForceSoftware,
         .key = "ForceSoftware",
         .label = "Force Software",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check8"}},
        {.id = SettingId::ForceSoftwareEAX,
         .key = "ForceSoftwareEAX",
         .label = "Force Software EAX",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check7"}},
        {.id = SettingId::ForceNoFXes,
         .key = "ForceNoFXes",
         .label = "Force No Effects",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check6"}},
        {.id = SettingId::UseEAX,
         .key = "UseEAX",
         .label = "Use EAX",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check5"},
         .defaultValue = "off",
         .help = {"EAX (Environmental Audio Extensions) adds room acoustics such as echo and "
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
        {.id = SettingId::ExtraSounds01,
         .key = "ExtraSounds01",
         .label = "Extra Sounds",
         .place = Place::Audio,
         .kind = Kind::OnOff,
         .controls = {"Check10"}},
        {.id = SettingId::MotionBlur,
         .key = "MotionBlur",
         .label = "Motion Blur",
         .place = Place::DataFolder,
         .kind = Kind::Effect,
         .controls = {"Check4"},
         .defaultValue = "on",
         .help = {"Motion blur is the streaking of moving things that a camera records while its shutter "
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
        {.id = SettingId::DepthOfField,
         .key = "DepthOfField",
         .label = "Depth of Field",
         .place = Place::DataFolder,
         .kind = Kind::Effect,
         .controls = {"Check11"}},
        {.id = SettingId::FieldOfView,
         .key = "FieldOfView",
         .label = "Field of View",
         .place = Place::DataFolder,
         .kind = Kind::Angle,
         .controls = {"Text15"},
         .defaultValue = "62.5",
         .help = {"The field of view is the angle of the game world you see on screen at once, in degrees.",
                  "",
                  "How wide the picture spans depends on the screen's aspect ratio (4:3, 16:10 or 16:9).",
                  "A value that feels right on one shape of screen can feel cramped or stretched on "
                  "another.",
                  "Enter as 00.0 format even if it's a whole number!, ie: 60.0 (Default 62.5)"}},
    };
    // clang-format on
    return kSettings;
}

}  // namespace

std::span<const Setting> settings() {
    return table();
}

const Setting& setting(SettingId id) {
    return table()[static_cast<std::size_t>(id)];
}

const Setting* find(std::string_view key) {
    for (const Setting& row : table()) {
        if (platform::sameLetters(row.key, key)) return &row;
    }
    return nullptr;
}

const Setting* shownIn(std::string_view control) {
    for (const Setting& row : table()) {
        if (std::find(row.controls.begin(), row.controls.end(), control) != row.controls.end()) {
            return &row;
        }
    }
    return nullptr;
}

std::string keyList() {
    std::vector<std::string_view> keys;
    for (const Setting& row : table()) keys.push_back(row.key);
    return platform::joined(keys);
}

std::string Setting::caption() const {
    return std::string(label.ends_with(':') ? label.substr(0, label.size() - 1) : label);
}

std::string Values::shown(SettingId id) const {
    const auto& parts = parts_[index(id)];
    return setting(id).parts() == 2 ? parts[0] + "," + parts[1] : parts[0];
}

int positionOf(const Setting& setting, std::string_view text) {
    const auto found = std::find(setting.entries.begin(), setting.entries.end(), text);
    return found == setting.entries.end() ? -1 : static_cast<int>(found - setting.entries.begin());
}

std::optional<std::string> defaultOf(const Setting& setting) {
    if (!setting.defaultValue) return std::nullopt;
    return std::string(*setting.defaultValue);
}

std::optional<std::string> validText(const Setting& setting) {
    if (!setting.entries.empty()) return platform::joined(setting.entries);
    if (!setting.valid.empty()) return platform::joined(setting.valid);
    if (!setting.range.empty()) return std::string(setting.range);
    return std::nullopt;
}

bool outsideValid(const Setting& setting, std::string_view value) {
    if (!setting.entries.empty()) {
        // A drop-down takes its entries without regard to case, as typed input does.
        return std::none_of(
            setting.entries.begin(), setting.entries.end(),
            [&](std::string_view entry) { return platform::sameLetters(entry, value); });
    }
    if (setting.defaultValue && *setting.defaultValue == value) return false;
    if (!setting.valid.empty()) {
        return std::find(setting.valid.begin(), setting.valid.end(), value) == setting.valid.end();
    }
    if (!setting.lowest && !setting.highest) return false;
    double shown = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), shown);
    // Not a number at all: the save's own check names it.
    if (error != std::errc() || end != value.data() + value.size()) return false;
    return (setting.lowest && shown < *setting.lowest) ||
           (setting.highest && shown > *setting.highest);
}

std::vector<OutsideValue> valuesOutsideValid(const Values& values, std::span<const Place> places) {
    std::vector<OutsideValue> outside;
    for (const Setting& row : table()) {
        if (std::find(places.begin(), places.end(), row.place) == places.end()) continue;
        const std::string value = values.shown(row.id);
        if (!outsideValid(row, value)) continue;
        outside.push_back({&row, value, validText(row).value_or("")});
    }
    return outside;
}

}  // namespace quorvik::catalogue
