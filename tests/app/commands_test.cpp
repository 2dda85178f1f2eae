// The command table against the window's design: every button and menu item
// runs a handler, and no command names a control the window does not have.

#include "app/commands.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

}  // namespace
}  // namespace quorvik::app
