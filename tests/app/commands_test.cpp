// The command table against the window's design: every button and menu item
// runs a handler, and no command names a control the window does not have.

#include "app/commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "panel/layout.h"

namespace quorvik::app {
namespace {

std::set<std::string_view> clickableNames() {
    std::set<std::string_view> names;
    for (const auto& control : panel::layout()) {
        if (control.kind == panel::Kind::Button) names.insert(control.name);
    }
    for (const auto& menu : panel::menus()) {
        if (menu.items.empty()) names.insert(menu.name);
        for (const auto& item : menu.items) names.insert(item.name);
    }
    return names;
}

TEST(Commands, EveryButtonAndMenuItemRunsAHandler) {
    for (const auto name : clickableNames()) {
        EXPECT_NE(findCommand(name), nullptr) << name;
    }
}

TEST(Commands, EveryCommandBelongsToAControlOrMenuItem) {
    const auto names = clickableNames();
    for (const Command& command : commands()) {
        const bool isClickable = names.contains(command.control);
        const auto* layout = panel::findLayout(command.control);
        EXPECT_TRUE(isClickable || (layout != nullptr && layout->kind == panel::Kind::Label))
            << command.control;
        EXPECT_EQ(findCommand(command.control), &command) << "named twice: " << command.control;
    }
}

// Alt and a letter must lead to one place: each access key is a letter of
// its caption and unique among its neighbours, and each shortcut runs one command.
TEST(Commands, AccessKeysAndShortcutsLeadToOnePlaceEach) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const auto checkKeys = [&](const std::vector<std::pair<std::string_view, char>>& level) {
        std::set<char> used;
        for (const auto& [caption, key] : level) {
            const std::string text = panel::menuText(caption, key);
            EXPECT_NE(text.find('&'), std::string::npos) << caption << ": no access key";
            EXPECT_TRUE(used.insert(lower(key)).second) << caption << ": its key is taken";
        }
    };
    std::vector<std::pair<std::string_view, char>> bar;
    std::set<std::string_view> shortcuts;
    for (const auto& menu : panel::menus()) {
        bar.emplace_back(menu.caption, menu.key);
        if (!menu.shortcut.empty()) {
            EXPECT_TRUE(shortcuts.insert(menu.shortcut).second) << menu.shortcut;
        }
        std::vector<std::pair<std::string_view, char>> items;
        for (const auto& item : menu.items) {
            items.emplace_back(item.caption, item.key);
            if (!item.shortcut.empty()) {
                EXPECT_TRUE(shortcuts.insert(item.shortcut).second) << item.shortcut;
            }
        }
        checkKeys(items);
    }
    checkKeys(bar);
    EXPECT_EQ(panel::menuText("Exit", 'x'), "E&xit");
    EXPECT_EQ(panel::menuText("Show Changes", 'C'), "Show &Changes");
}

}  // namespace
}  // namespace quorvik::app
