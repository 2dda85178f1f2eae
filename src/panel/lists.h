#pragma once

// The entries of the drop-down lists: the game's own values, letter for letter.
// Start-up fills the lists from here and the loaders choose positions by them.

#include <array>
#include <span>
#include <string_view>

#include "panel/panel.h"

namespace quorvik::panel {

struct ListEntries {
    ComboBox Panel::*combo;
    std::span<const std::string_view> entries;
};

inline constexpr std::array<std::string_view, 4> kFilteringEntries = {
    "Bilinear", "Trilinear", "Anisotropic", "AnisotropicTrilinear"};
inline constexpr std::array<std::string_view, 3> kTextureQualityEntries = {"VeryLow", "Low", "High"};
inline constexpr std::array<std::string_view, 2> kShadowsEntries = {"Low", "High"};
inline constexpr std::array<std::string_view, 3> kEnvQualityEntries = {"Static", "RareDynamic",
                                                                        "FullDynamic"};
inline constexpr std::array<std::string_view, 7> kShaderModelEntries = {
    "SM 1.1", "SM 1.4", "SM 2.0", "SM 3.0", "XBOX360", "SM 4.0", "PS3"};
inline constexpr std::array<std::string_view, 2> kPostProcessEntries = {"Simple", "Normal"};
inline constexpr std::array<std::string_view, 5> kAudioApiEntries = {"aDS3D", "aOpenAL", "aXACT",
                                                                      "XAudio2", "NoSound"};
inline constexpr std::array<std::string_view, 3> kQuality3DEntries = {"low", "medium", "high"};

// In the order start-up fills them.
inline const std::array<ListEntries, 8> kLists = {{
    {&Panel::Combo1, kFilteringEntries},
    {&Panel::Combo2, kTextureQualityEntries},
    {&Panel::Combo3, kShadowsEntries},
    {&Panel::Combo4, kEnvQualityEntries},
    {&Panel::Combo5, kShaderModelEntries},
    {&Panel::Combo6, kPostProcessEntries},
    {&Panel::Combo7, kAudioApiEntries},
    {&Panel::Combo8, kQuality3DEntries},
}};

// The entries of a drop-down; none for a drop-down without a list.
inline std::span<const std::string_view> entriesOf(ComboBox Panel::*combo) {
    for (const auto& list : kLists) {
        if (list.combo == combo) return list.entries;
    }
    return {};
}

// Every drop-down's list filled with its entries, as start-up fills them.
inline void addListEntries(Panel& panel) {
    for (const auto& list : kLists) {
        for (const auto entry : list.entries) (panel.*list.combo).AddItem(std::string(entry));
    }
}

}  // namespace quorvik::panel
