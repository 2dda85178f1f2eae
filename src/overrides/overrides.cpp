#include "overrides/overrides.h"

#include <span>
#include <string_view>


namespace quorvik::overrides {
namespace {

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

constexpr const Script* kScripts[] = {&kCameraMotionScript, &kBlurScript, &kRadialScript,
                                     &kVarlistDofScript, &kDofDefQmScript};

constexpr std::string_view kNames[] = {kCameraMotionScript.name, kBlurScript.name, kRadialScript.name,
                                       kVarlistDofScript.name, kDofDefQmScript.name};

constexpr std::string_view kMotionBlurWritten[] = {kCameraMotionScript.name, kBlurScript.name,
                                                   kRadialScript.name};
constexpr std::string_view kMotionBlurDeleted[] = {kBlurScript.name, kCameraMotionScript.name,
                                                   kRadialScript.name};
constexpr std::string_view kDepthOfFieldWritten[] = {kVarlistDofScript.name, kDofDefQmScript.name};
constexpr std::string_view kDepthOfFieldDeleted[] = {kDofDefQmScript.name, kVarlistDofScript.name};

const Effect kEffects[] = {
    {catalogue::SettingId::MotionBlur, kMotionBlurWritten, kMotionBlurDeleted,
     kCameraMotionScript.name},
    {catalogue::SettingId::DepthOfField, kDepthOfFieldWritten, kDepthOfFieldDeleted,
     kVarlistDofScript.name},
};

}  // namespace

std::span<const Effect> effects() { return kEffects; }

std::span<const std::string_view> scriptNames() { return kNames; }

std::string scriptText(std::string_view name) {
    std::string out;
    for (const Script* script : kScripts) {
        if (script->name != name) continue;
        for (const ScriptLine& line : script->lines) {
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
    }
    return out;
}

std::filesystem::path scriptsFolder(const std::filesystem::path& settingsFolder) {
    return settingsFolder / ".." / "Data" / "Scripts";
}

std::filesystem::path skillsFolder(const std::filesystem::path& settingsFolder) {
    return settingsFolder / ".." / "Data" / "Skills";
}

std::filesystem::path skillsFile(const std::filesystem::path& settingsFolder) {
    return skillsFolder(settingsFolder) / "default_levels.xml";
}

}  // namespace quorvik::overrides
