#include "app/win32/control_ids.h"

#include "panel/layout.h"

namespace quorvik::win32 {
namespace {

constexpr int kFirstControl = 1000;
constexpr int kFirstMenuCommand = 2000;

// The menu bar's commands in order: each item, or the menu itself when it has none.
template <typename Visit>
void forEachMenuCommand(Visit&& visit) {
    int index = 0;
    for (const panel::Menu& menu : panel::menus()) {
        if (menu.items.empty()) {
            visit(menu.name, index++);
            continue;
        }
        for (const panel::MenuItem& item : menu.items) visit(item.name, index++);
    }
}

}  // namespace

int controlId(std::string_view name) {
    const auto controls = panel::layout();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name) return kFirstControl + static_cast<int>(i);
    }
    return 0;
}

std::string_view controlName(int id) {
    const auto controls = panel::layout();
    const int index = id - kFirstControl;
    if (index < 0 || index >= static_cast<int>(controls.size())) return {};
    return controls[static_cast<std::size_t>(index)].name;
}

int menuCommandId(std::string_view name) {
    int id = 0;
    forEachMenuCommand([&](std::string_view command, int index) {
        if (id == 0 && command == name) id = kFirstMenuCommand + index;
    });
    return id;
}

std::string_view menuCommandName(int id) {
    std::string_view name;
    forEachMenuCommand([&](std::string_view command, int index) {
        if (kFirstMenuCommand + index == id) name = command;
    });
    return name;
}

}  // namespace quorvik::win32
