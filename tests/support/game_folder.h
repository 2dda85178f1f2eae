#pragma once

// A game's per-user folder in a temporary folder, as the game lays it out:
// <base>/out/Settings beside <base>/out/Data/Scripts and <base>/out/Data/Skills.
// GameSession adds the window's state and handlers on it.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

namespace quorvik::testing {

struct GameFolder {
    enum Data { NoData = 0, Scripts = 1, Skills = 2, AllData = Scripts | Skills };

    explicit GameFolder(std::string_view base = "Quell Moor", int data = AllData);

    TempDir dir;
    std::filesystem::path out;
    std::filesystem::path settings;
    std::filesystem::path scripts;
    std::filesystem::path skills;  // Data/Skills/default_levels.xml

    // Video.scr and Audio.scr from tests/data.
    void copySamples() const;
    std::string settingsPathText() const;
};

// Start-up answered with No, then the settings folder set as a typed folder would.
struct GameSession : GameFolder {
    explicit GameSession(std::string_view base = "Quell Moor", int data = AllData);

    FakeDialogs dialogs;
    FakeSystem system;
    app::Form1 form{dialogs, system};

    void loadBoth();
    // The edits whose result tests/data/edited holds: resolution, a typed
    // drop-down text, shader model, a flag, audio.
    void makeSampleEdits();
    bool shown(const std::string& text) const;
};

}  // namespace quorvik::testing
