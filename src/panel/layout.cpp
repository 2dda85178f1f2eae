#include "panel/layout.h"

#include <algorithm>
#include <array>
#include <vector>

#include "catalogue/catalogue.h"

namespace quorvik::panel {
namespace {

using K = Kind;
using F = FontRole;

constexpr int kTextH = 285;
constexpr int kComboH = 315;

ControlLayout label(std::string_view name, int left, int top, std::string_view caption,
                    FontRole font = F::Caption) {
    return {name, K::Label, left, top, 0, 0, caption, font};
}
// The label beside a setting's control, with the caption the catalogue gives it.
ControlLayout settingLabel(std::string_view name, int left, int top, std::string_view control) {
    return label(name, left, top, catalogue::shownIn(control)->label);
}
ControlLayout text(std::string_view name, int left, int top, int width,
                   std::string_view initial = "0") {
    return {name, K::TextBox, left, top, width, kTextH, initial, F::Default};
}
ControlLayout combo(std::string_view name, int left, int top, int width) {
    return {name, K::ComboBox, left, top, width, kComboH, "0", F::Default};
}
ControlLayout check(std::string_view name, int left, int top) {
    return {name, K::CheckBox, left, top, 175, 195, "", F::None};
}

const std::vector<ControlLayout>& table() {
    static const std::vector<ControlLayout> kLayout = {
        // Status row
        label("Label11", 120, 120, "Video.scr:", F::Status),
        label("Label12", 1440, 120, "0", F::Status),
        label("Label1", 3360, 120, "Quell Moor Version:", F::Status),
        label("Label2", 5760, 120, "0", F::Status),
        label("Label30", 7680, 120, "Audio.scr:", F::Status),
        label("Label29", 9000, 120, "0", F::Status),

        // Column A, video
        settingLabel("Label3", 120, 600, "Text1"),
        text("Text1", 2400, 600, 495, "0000"),
        text("Text2", 2880, 600, 495, "0000"),
        settingLabel("Label5", 120, 960, "Text4"),
        text("Text4", 2400, 960, 495),
        settingLabel("Label6", 120, 1320, "Text5"),
        text("Text5", 2400, 1320, 495),
        settingLabel("Label7", 120, 1680, "Text6"),
        text("Text6", 2400, 1680, 495),
        settingLabel("Label8", 120, 2040, "Combo2"),
        combo("Combo2", 2400, 2040, 1095),
        settingLabel("Label9", 120, 2400, "Combo1"),
        combo("Combo1", 2400, 2400, 1575),
        settingLabel("Label28", 120, 2760, "Text15"),
        text("Text15", 2400, 2760, 495, "62.5"),
        settingLabel("Label10", 120, 3120, "Text7"),
        text("Text7", 2400, 3120, 495),
        settingLabel("Label4", 120, 3480, "Text3"),
        text("Text3", 2400, 3480, 495),
        settingLabel("Label13", 120, 3840, "Combo3"),
        combo("Combo3", 2400, 3840, 855),
        settingLabel("Label14", 120, 4200, "Text8"),
        text("Text8", 2400, 4200, 495),
        settingLabel("Label15", 120, 4560, "Text9"),
        text("Text9", 2400, 4560, 495),

        // Column B, video
        settingLabel("Label19", 4080, 480, "Text10"),
        text("Text10", 6120, 480, 375),
        settingLabel("Label20", 4080, 840, "Text11"),
        text("Text11", 6120, 840, 375),
        settingLabel("Label21", 4080, 1200, "Text12"),
        text("Text12", 6120, 1200, 375),
        settingLabel("Label22", 4080, 1560, "Text13"),
        text("Text13", 6120, 1560, 375),
        settingLabel("Label23", 4080, 1920, "Text14"),
        text("Text14", 6120, 1920, 375),
        settingLabel("Label24", 4080, 2280, "Combo4"),
        combo("Combo4", 6120, 2280, 1335),
        settingLabel("Label25", 4080, 2640, "Combo5"),
        combo("Combo5", 6120, 2640, 975),
        settingLabel("Label26", 4080, 3000, "Combo6"),
        combo("Combo6", 6120, 3000, 1215),
        settingLabel("Label16", 4080, 3360, "Check1"),
        check("Check1", 6120, 3360),
        settingLabel("Label17", 4080, 3600, "Check2"),
        check("Check2", 6120, 3600),

        // Column C, audio
        settingLabel("Label31", 7680, 600, "Combo7"),
        combo("Combo7", 9240, 600, 1095),
        settingLabel("Label32", 7680, 960, "Text16"),
        text("Text16", 9240, 960, 1095),
        settingLabel("Label33", 7680, 1320, "Text17"),
        text("Text17", 9240, 1320, 615),
        settingLabel("Label34", 7680, 1680, "Combo8"),
        combo("Combo8", 9240, 1680, 1095),
        settingLabel("Label35", 7680, 2040, "Text18"),
        text("Text18", 9240, 2040, 615),
        settingLabel("Label36", 7680, 2400, "Text19"),
        text("Text19", 9240, 2400, 615),
        settingLabel("Label37", 7680, 2760, "Text20"),
        text("Text20", 9240, 2760, 615),
        settingLabel("Label38", 7680, 3120, "Text21"),
        text("Text21", 9240, 3120, 615),
        settingLabel("Label39", 7680, 3480, "Text22"),
        text("Text22", 9240, 3480, 615),

        // Column D, switches
        settingLabel("Label42", 10440, 600, "Check8"),
        check("Check8", 12480, 600),
        settingLabel("Label43", 10440, 840, "Check7"),
        check("Check7", 12480, 840),
        settingLabel("Label44", 10440, 1080, "Check6"),
        check("Check6", 12480, 1080),
        settingLabel("Label45", 10440, 1320, "Check5"),
        check("Check5", 12480, 1320),
        settingLabel("Label46", 10440, 1560, "Check10"),
        check("Check10", 12480, 1560),
        settingLabel("Label41", 10440, 1800, "Check9"),
        check("Check9", 12480, 1800),
        settingLabel("Label18", 10440, 2040, "Check3"),
        check("Check3", 12480, 2040),
        settingLabel("Label27", 10440, 2280, "Check4"),
        check("Check4", 12480, 2280),
        settingLabel("Label40", 10440, 2520, "Check11"),
        check("Check11", 12480, 2520),

        // Buttons, banner, donation label, hidden picture holders
        {"Command1", K::Button, 10680, 2880, 1215, 375, "Set Video.scr", F::Button},
        {"Command2", K::Button, 10680, 3360, 1215, 375, "Set Audio.scr", F::Button},
        {"Scriptlet1", K::Banner, 5760, 3840, 6930, 900, "", F::None},
        label("Label47", 8880, 4800, kDonationCaption, F::Donation),
        {"Image1", K::Image, 0, 0, 0, 0, "", F::None},
        {"Image2", K::Image, 0, 0, 0, 0, "", F::None},
    };
    return kLayout;
}

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

std::span<const ControlLayout> layout() {
    return table();
}

const ControlLayout* findLayout(std::string_view name) {
    for (const auto& control : table()) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

std::span<const std::string_view> tabOrder() { return kTabOrder; }

const ControlLayout* captionOf(std::string_view control) {
    const ControlLayout* caption = nullptr;
    for (const auto& candidate : table()) {
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
    for (const auto& other : table()) {
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
