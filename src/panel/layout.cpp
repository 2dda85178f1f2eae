#include "panel/layout.h"

#include <algorithm>
#include <array>

namespace quorvik::panel {
namespace {

using K = Kind;
using F = FontRole;

constexpr int kTextH = 285;
constexpr int kComboH = 315;

constexpr ControlLayout label(std::string_view name, int left, int top, std::string_view caption,
                              FontRole font = F::Caption) {
    return {name, K::Label, left, top, 0, 0, caption, font};
}
constexpr ControlLayout text(std::string_view name, int left, int top, int width,
                             std::string_view initial = "0") {
    return {name, K::TextBox, left, top, width, kTextH, initial, F::Default};
}
constexpr ControlLayout combo(std::string_view name, int left, int top, int width) {
    return {name, K::ComboBox, left, top, width, kComboH, "0", F::Default};
}
constexpr ControlLayout check(std::string_view name, int left, int top) {
    return {name, K::CheckBox, left, top, 175, 195, "", F::None};
}

constexpr auto kLayout = std::to_array<ControlLayout>({
    // Status row
    label("Label11", 120, 120, "Video.scr:", F::Status),
    label("Label12", 1440, 120, "0", F::Status),
    label("Label1", 3360, 120, "Quell Moor Version:", F::Status),
    label("Label2", 5760, 120, "0", F::Status),
    label("Label30", 7680, 120, "Audio.scr:", F::Status),
    label("Label29", 9000, 120, "0", F::Status),

    // Column A, video
    label("Label3", 120, 600, "Resolution"),
    text("Text1", 2400, 600, 495, "0000"),
    text("Text2", 2880, 600, 495, "0000"),
    label("Label5", 120, 960, "Bits per Pixel (BPP)"),
    text("Text4", 2400, 960, 495),
    label("Label6", 120, 1320, "Fullscreen AntiAliasing"),
    text("Text5", 2400, 1320, 495),
    label("Label7", 120, 1680, "Texture BPP"),
    text("Text6", 2400, 1680, 495),
    label("Label8", 120, 2040, "Texture Quality"),
    combo("Combo2", 2400, 2040, 1095),
    label("Label9", 120, 2400, "Filtering Mode"),
    combo("Combo1", 2400, 2400, 1575),
    label("Label28", 120, 2760, "Field of View"),
    text("Text15", 2400, 2760, 495, "62.5"),
    label("Label10", 120, 3120, "Gamma Float"),
    text("Text7", 2400, 3120, 495),
    label("Label4", 120, 3480, "Refresh Rate:"),
    text("Text3", 2400, 3480, 495),
    label("Label13", 120, 3840, "Shadows"),
    combo("Combo3", 2400, 3840, 855),
    label("Label14", 120, 4200, "ShadowMapSize"),
    text("Text8", 2400, 4200, 495),
    label("Label15", 120, 4560, "SpotShadowMapSize"),
    text("Text9", 2400, 4560, 495),

    // Column B, video
    label("Label19", 4080, 480, "Material Quality"),
    text("Text10", 6120, 480, 375),
    label("Label20", 4080, 840, "Water Quality"),
    text("Text11", 6120, 840, 375),
    label("Label21", 4080, 1200, "Grass Quality"),
    text("Text12", 6120, 1200, 375),
    label("Label22", 4080, 1560, "Effects Quality"),
    text("Text13", 6120, 1560, 375),
    label("Label23", 4080, 1920, "Effects Fade Level"),
    text("Text14", 6120, 1920, 375),
    label("Label24", 4080, 2280, "Environment Quality"),
    combo("Combo4", 6120, 2280, 1335),
    label("Label25", 4080, 2640, "Shader Model"),
    combo("Combo5", 6120, 2640, 975),
    label("Label26", 4080, 3000, "Post Processing"),
    combo("Combo6", 6120, 3000, 1215),
    label("Label16", 4080, 3360, "Lightmaps"),
    check("Check1", 6120, 3360),
    label("Label17", 4080, 3600, "Full Screen"),
    check("Check2", 6120, 3600),

    // Column C, audio
    label("Label31", 7680, 600, "Audio API"),
    combo("Combo7", 9240, 600, 1095),
    label("Label32", 7680, 960, "Mix Frequency"),
    text("Text16", 9240, 960, 1095),
    label("Label33", 7680, 1320, "Channels"),
    text("Text17", 9240, 1320, 615),
    label("Label34", 7680, 1680, "3D Quality"),
    combo("Combo8", 9240, 1680, 1095),
    label("Label35", 7680, 2040, "Max Volume"),
    text("Text18", 9240, 2040, 615),
    label("Label36", 7680, 2400, "Effects Volume"),
    text("Text19", 9240, 2400, 615),
    label("Label37", 7680, 2760, "Music Volume"),
    text("Text20", 9240, 2760, 615),
    label("Label38", 7680, 3120, "Speech Volume"),
    text("Text21", 9240, 3120, 615),
    label("Label39", 7680, 3480, "Movie Volume"),
    text("Text22", 9240, 3480, 615),

    // Column D, switches
    label("Label42", 10440, 600, "Force Software"),
    check("Check8", 12480, 600),
    label("Label43", 10440, 840, "Force Software EAX"),
    check("Check7", 12480, 840),
    label("Label44", 10440, 1080, "Force No Effects"),
    check("Check6", 12480, 1080),
    label("Label45", 10440, 1320, "Use EAX"),
    check("Check5", 12480, 1320),
    label("Label46", 10440, 1560, "Extra Sounds"),
    check("Check10", 12480, 1560),
    label("Label41", 10440, 1800, "Debug Mode"),
    check("Check9", 12480, 1800),
    label("Label18", 10440, 2040, "VSync"),
    check("Check3", 12480, 2040),
    label("Label27", 10440, 2280, "Motion Blur"),
    check("Check4", 12480, 2280),
    label("Label40", 10440, 2520, "Depth of Field"),
    check("Check11", 12480, 2520),

    // Buttons, banner, donation label, hidden picture holders
    {"Command1", K::Button, 10680, 2880, 1215, 375, "Set Video.scr", F::Button},
    {"Command2", K::Button, 10680, 3360, 1215, 375, "Set Audio.scr", F::Button},
    {"Scriptlet1", K::Banner, 5760, 3840, 6930, 900, "", F::None},
    label("Label47", 8880, 4800, kDonationCaption, F::Donation),
    {"Image1", K::Image, 0, 0, 0, 0, "", F::None},
    {"Image2", K::Image, 0, 0, 0, 0, "", F::None},
});

constexpr auto kTabOrder = std::to_array<std::string_view>({
    "Command1", "Text1",   "Text2",  "Text4",  "Text5",  "Text6",   "Text7",   "Combo1",
    "Combo2",   "Text3",   "Combo3", "Text8",  "Text9",  "Text10",  "Text11",  "Text12",
    "Check1",   "Check2",  "Check3", "Text13", "Text14", "Combo4",  "Combo5",  "Combo6",
    "Check4",   "Text15",  "Command2", "Combo7", "Text16", "Text17", "Text18",  "Combo8",
    "Text19",   "Text20",  "Text21", "Text22", "Check5", "Check6",  "Check7",  "Check8",
    "Check9",   "Check10", "Check11", "Scriptlet1",
});

// Every menu and item has an access key, unique among its neighbours; Save
// Settings and About have keys of their own.
constexpr MenuItem kFileItems[] = {
    {"Launch", "Launch (No Intro)", 'L'},
    {"Backup", "Backup", 'B'},
    {"save", "Save Settings", 'S', "Ctrl+S"},
    // Added after the designed items; Exit stays the last, where it always was.
    {"Restore", "Restore Backup...", 'R'},
    {"Changes", "Show Changes", 'C'},
    {"Exit", "Exit", 'x'},
};
constexpr MenuItem kTextColorItems[] = {
    {"black", "Black", 'B'},     {"Red", "Red", 'R'},   {"Green", "Green", 'G'},
    {"Yellow", "Yellow", 'Y'},   {"blue", "Blue", 'u'}, {"Magenta", "Magenta", 'M'},
    {"Cyan", "Cyan", 'C'},       {"White", "White", 'W'},
};
constexpr MenuItem kBackgroundItems[] = {
    {"qm", "Quell Moor", 'Q'},
    {"bgblack", "Black", 'B'},
};
// Added after the designed menus, which keep their places.
constexpr MenuItem kSettingsItems[] = {
    {"ResetAll",
     "Reset All to Defaults",
     'R',
     {},
     "Every setting whose help names a default, at that default; nothing is written until a save"},
};
constexpr MenuItem kPresetItems[] = {
    {"Performance",
     "Performance",
     'P',
     {},
     "Every setting that costs speed at its cheapest listed value; nothing is written until a "
     "save"},
    {"Quality",
     "Quality",
     'Q',
     {},
     "Every setting that costs speed at its richest listed value; nothing is written until a save"},
    {"Handheld",
     "Handheld",
     'H',
     {},
     "Performance at 1280,800, a handheld's screen; nothing is written until a save"},
};
constexpr MenuItem kProfileItems[] = {
    {"ProfileSave",
     "Save Profile...",
     'S',
     {},
     "Keep the window's settings under a name, in your own configuration folder"},
    {"ProfileApply",
     "Apply Profile...",
     'A',
     {},
     "Set the window's settings from a profile; nothing is written until a save"},
    {"ProfileDelete", "Delete Profile...", 'D', {}, "Delete a profile"},
    {"ProfileExport", "Export Profile...", 'E', {}, "Write a profile to a file, to share"},
    {"ProfileImport",
     "Import Profile...",
     'I',
     {},
     "Keep a profile from a file, its values checked as typed ones are"},
};
constexpr Menu kMenus[] = {
    {"File", "File", kFileItems, 'F'},
    {"txtcolor", "Text Color", kTextColorItems, 'T'},
    {"bg", "Background", kBackgroundItems, 'B'},
    {"About", "About", {}, 'A', "F1"},
    {"settings", "Settings", kSettingsItems, 'S'},
    {"presets", "Presets", kPresetItems, 'P'},
    {"profiles", "Profiles", kProfileItems, 'o'},
};

}  // namespace

std::span<const Menu> menus() { return kMenus; }

std::string menuText(std::string_view caption, char key) {
    std::string text(caption);
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (key != 0 && lower(text[i]) == lower(key)) {
            text.insert(i, 1, '&');
            return text;
        }
    }
    return text;
}

std::span<const ControlLayout> layout() { return kLayout; }

const ControlLayout* findLayout(std::string_view name) {
    for (const auto& control : kLayout) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

std::span<const std::string_view> tabOrder() { return kTabOrder; }

const ControlLayout* captionOf(std::string_view control) {
    const ControlLayout* caption = nullptr;
    for (const auto& candidate : kLayout) {
        if (candidate.name == control) {
            const bool named = candidate.kind == K::TextBox || candidate.kind == K::ComboBox ||
                               candidate.kind == K::CheckBox;
            // A setting's label sits on its row, left of its input.
            return named && caption != nullptr && caption->top == candidate.top ? caption
                                                                                : nullptr;
        }
        if (candidate.kind == K::Label) caption = &candidate;
    }
    return nullptr;
}

std::string accessibleName(std::string_view control) {
    const ControlLayout* self = findLayout(control);
    if (self != nullptr && self->kind == K::Button) return std::string(self->text);
    const ControlLayout* caption = captionOf(control);
    if (caption == nullptr) return {};
    std::string name(caption->text);
    if (name.ends_with(':')) name.pop_back();
    // One label names the pair of resolution boxes: width, then height.
    if (control == "Text1") name += " width";
    if (control == "Text2") name += " height";
    return name;
}

int roomToTheRight(std::string_view control) {
    // A caption's line is about 16 pixels high; labels are laid out without a height.
    constexpr int kLabelHeight = 240;
    constexpr int kGap = 60;  // 4 pixels between neighbours
    const ControlLayout* self = findLayout(control);
    if (self == nullptr) return 0;
    const int right = self->left + self->width;
    const int bottom = self->top + self->height;
    int limit = kClientWidth;
    for (const auto& other : kLayout) {
        if (&other == self || other.kind == K::Image || other.left < right) continue;
        const int otherBottom = other.top + (other.height > 0 ? other.height : kLabelHeight);
        if (other.top < bottom && otherBottom > self->top) limit = std::min(limit, other.left);
    }
    return std::max(0, limit - kGap - right);
}

double fittingScale(double scale, int areaWidth, int areaHeight, int frameWidth, int frameHeight) {
    constexpr double kSmallest = 0.5;
    const double client96Width = static_cast<double>(kClientWidth) / kTwipsPerPixel;
    const double client96Height = static_cast<double>(kClientHeight) / kTwipsPerPixel;
    // The frame is measured at the screen's own scale and stays that size.
    const double fits = std::min((areaWidth - frameWidth) / client96Width,
                                 (areaHeight - frameHeight) / client96Height);
    return std::max(kSmallest, std::min(scale, fits));
}

}  // namespace quorvik::panel
