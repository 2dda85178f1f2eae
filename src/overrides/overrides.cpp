#include "overrides/overrides.h"

#include <span>
#include <string_view>

#include "overrides/skills_file.h"
#include "platform/text_codec.h"

namespace quorvik::overrides {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// How a line of an override script is written. Both forms set a variable to
// zero; only dof_def_qm.scr uses the wide one.
enum class Form {
    Short,  // VarFloat("name", 0.0)
    Wide,   // VarFloat( "name", 0.00000000000000000000 )
    Text,   // the text as it stands: a comment or an empty line
};

struct ScriptLine {
    Form form;
    std::string_view text;
};

struct Script {
    std::string_view name;
    std::span<const ScriptLine> lines;
};

constexpr Form A = Form::Short;
constexpr Form B = Form::Wide;
constexpr Form T = Form::Text;

// clang-format off
constexpr ScriptLine kCameraMotion[] = {
    {A, "f_blur_camera_motion_factor"},
    {A, "f_blur_camera_motion_near"},
    {A, "f_blur_camera_motion_far"},
    {A, "f_blur_camera_motion_max"},
};
constexpr ScriptLine kBlur[] = {
    {A, "f_blur"},
    {A, "f_blur_mask_radial_opacity"},
    {A, "f_blur_mask_radial_bias"},
    {A, "f_blur_mask_radial_scale"},
    {A, "f_blur_mask_radial_center_offset_x"},
    {A, "f_blur_mask_radial_center_offset_y"},
    {A, "f_blur_mask_radial_scale_x"},
    {A, "f_blur_mask_radial_scale_y"},
};
constexpr ScriptLine kRadial[] = {
    {A, "f_blur_radial_center_x"},
    {A, "f_blur_radial_center_y"},
    {A, "f_blur_radial_mask_bias"},
    {A, "f_blur_radial_mask_scale"},
    {A, "f_blur_radial_power"},
    {A, "f_blur_radial_range"},
};
constexpr ScriptLine kVarlistDof[] = {
    {A, "f_dof_strength_factor"},
    {A, "f_dof_near_strength"},
    {A, "f_dof_near_offset"},
    {A, "f_dof_near_range"},
    {A, "f_dof_distance"},
    {A, "f_dof_far_offset"},
    {A, "f_dof_far_range"},
    {A, "f_dof_far_strength"},
    {T, ""},
    {A, "f_bokeh_size"},
    {A, "f_bokeh_strength"},
};
constexpr ScriptLine kDofDefQm[] = {
    {T, ""},
    {T, "// Depth of Field"},
    {T, ""},
    {B, "f_dof_strength_factor"},
    {B, "f_dof_near_strength"},
    {B, "f_dof_near_range"},
    {B, "f_dof_near_offset"},
    {B, "f_dof_far_strength"},
    {B, "f_dof_far_range"},
    {B, "f_dof_far_offset"},
    {B, "f_dof_distance"},
    {T, ""},
    {T, ""},
};

// clang-format on

constexpr Script kCameraMotionScript{"varlist_blur_camera_motion.scr", kCameraMotion};
constexpr Script kBlurScript{"varlist_blur.scr", kBlur};
constexpr Script kRadialScript{"varlist_blur_radial.scr", kRadial};
constexpr Script kVarlistDofScript{"varlist_dof.scr", kVarlistDof};
constexpr Script kDofDefQmScript{"dof_def_qm.scr", kDofDefQm};

// An effect is switched off by its scripts and on again by removing them.
// Removal has an order of its own, not the order of writing.
struct EffectScripts {
    panel::CheckBox panel::Panel::*box;
    std::span<const Script* const> written;
    std::span<const Script* const> deleted;
};

constexpr const Script* kMotionBlurWritten[] = {&kCameraMotionScript, &kBlurScript, &kRadialScript};
constexpr const Script* kMotionBlurDeleted[] = {&kBlurScript, &kCameraMotionScript, &kRadialScript};
constexpr const Script* kDepthOfFieldWritten[] = {&kVarlistDofScript, &kDofDefQmScript};
constexpr const Script* kDepthOfFieldDeleted[] = {&kDofDefQmScript, &kVarlistDofScript};

const EffectScripts kEffects[] = {
    {&panel::Panel::Check4, kMotionBlurWritten, kMotionBlurDeleted},
    {&panel::Panel::Check11, kDepthOfFieldWritten, kDepthOfFieldDeleted},
};

// On load one file per effect tells whether it is switched off.
constexpr std::string_view kMotionBlurMarker = "varlist_blur_camera_motion.scr";
constexpr std::string_view kDepthOfFieldMarker = "varlist_dof.scr";

// The skills file the tool writes is about 14 KB; a file far larger is not one
// to read into memory.
constexpr std::uintmax_t kSkillsFileLimit = 8u * 1024u * 1024u;

std::string scriptText(const Script& script) {
    std::string out;
    for (const ScriptLine& line : script.lines) {
        switch (line.form) {
            case Form::Short:
                out += "VarFloat(\"";
                out += line.text;
                out += "\", 0.0)";
                break;
            case Form::Wide:
                out += "VarFloat( \"";
                out += line.text;
                out += "\", 0.00000000000000000000 )";
                break;
            case Form::Text:
                out += line.text;
                break;
        }
        out += "\r\n";
    }
    return out;
}

fs::path scriptsFolder(const fs::path& settingsFolder) {
    return settingsFolder / ".." / "Data" / "Scripts";
}

fs::path skillsFolder(const fs::path& settingsFolder) {
    return settingsFolder / ".." / "Data" / "Skills";
}

fs::path skillsFile(const fs::path& settingsFolder) {
    return skillsFolder(settingsFolder) / "default_levels.xml";
}

void write(platform::System& system, const fs::path& path, std::string_view bytes,
           Problems& problems) {
    if (const platform::Status status = system.writeFile(path, bytes); !status) {
        problems.push_back({Problem::Kind::WriteFailed, path, status.reason()});
    }
}

void remove(platform::System& system, const fs::path& path, Problems& problems) {
    if (const platform::Status status = system.deleteFile(path); !status) {
        problems.push_back({Problem::Kind::DeleteFailed, path, status.reason()});
    }
}

}  // namespace

Problems saveOverrideScripts(platform::System& system, const std::filesystem::path& settingsFolder,
                             const panel::Panel& panel) {
    Problems problems;
    const fs::path folder = scriptsFolder(settingsFolder);

    // A folder that is not there holds no files to remove; writing into it
    // needs it, and the tool never creates the game's folders.
    if (!system.folderExists(folder)) {
        const bool motionBlurOff = panel.Check4.Value == 0;
        const bool depthOfFieldOff = panel.Check11.Value == 0;
        if (motionBlurOff || depthOfFieldOff) {
            const std::string what = motionBlurOff && depthOfFieldOff
                                         ? "Motion blur and depth of field"
                                     : motionBlurOff ? "Motion blur"
                                                     : "Depth of field";
            problems.push_back(
                {Problem::Kind::FolderMissing, folder, what + " could not be switched off."});
        }
        return problems;
    }

    for (const EffectScripts& effect : kEffects) {
        const int value = (panel.*effect.box).Value;
        if (value == 0) {
            for (const Script* script : effect.written) {
                write(system, folder / script->name, scriptText(*script), problems);
            }
        } else if (value == 1) {
            for (const Script* script : effect.deleted) {
                remove(system, folder / script->name, problems);
            }
        }
    }
    return problems;
}

Problems saveSkillsFile(platform::System& system, const std::filesystem::path& settingsFolder,
                        panel::Panel& panel) {
    std::string& text = panel.Text15.Text;
    text = std::string(platform::trimBlanks(text));
    const std::optional<int> order = compareWithDefaultFieldOfView(text);
    // The text goes into an XML attribute of the game's file: only a plain
    // number is safe there.
    if (!order) return {{Problem::Kind::NotANumber, skillsFile(settingsFolder), text}};
    // Below the game's own view the file stays as it is.
    if (*order < 0) return {{Problem::Kind::NotApplied, skillsFile(settingsFolder), text}};

    Problems problems;
    const fs::path folder = skillsFolder(settingsFolder);
    if (!system.folderExists(folder)) {
        // Nothing to remove from a folder that is not there.
        if (*order > 0) {
            problems.push_back(
                {Problem::Kind::FolderMissing, folder, "The field of view was not saved."});
        }
        return problems;
    }
    if (*order == 0) {
        remove(system, skillsFile(settingsFolder), problems);
    } else {
        write(system, skillsFile(settingsFolder), skillsFileText(text), problems);
    }
    return problems;
}

void loadOverrideStates(platform::System& system, const std::filesystem::path& settingsFolder,
                        panel::Panel& panel) {
    const fs::path folder = scriptsFolder(settingsFolder);
    panel.Check4.Value = system.fileExists(folder / kMotionBlurMarker) ? 0 : 1;
    panel.Check11.Value = system.fileExists(folder / kDepthOfFieldMarker) ? 0 : 1;
}

Problems loadFieldOfView(platform::System& system, const std::filesystem::path& settingsFolder,
                         panel::Panel& panel) {
    const fs::path path = skillsFile(settingsFolder);
    if (!system.fileExists(path)) return {};
    const platform::ReadResult read = system.readFile(path, kSkillsFileLimit);
    if (!read.status) return {{Problem::Kind::Unreadable, path, read.status.reason()}};
    if (std::optional<std::string> value = fieldOfViewIn(read.bytes)) {
        panel.Text15.Text = std::move(*value);
    }
    return {};
}

}  // namespace quorvik::overrides
