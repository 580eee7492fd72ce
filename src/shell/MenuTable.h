#pragma once

#include <string>
#include <string_view>
#include <vector>

class QMenuBar;
class QMenu;
class QWidget;

namespace tessaro {

// One entry of the menu bar as read from the menu table.
struct MenuEntry {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    int id = 0;
    std::string caption;             // with its "&" mnemonic
    std::vector<MenuEntry> children;  // popups only
};

// The game's menu table: popup titles, each followed by its items, an empty string ending each
// popup and an empty title ending the bar.
const std::vector<std::string_view>& MainMenuTable();

// Reads a menu table: "-" is a separator, ">Title" opens a nested popup, anything else is a
// command "<id>:<caption>". A table that ends early ends the bar there.
std::vector<MenuEntry> ParseMenuTable(const std::vector<std::string_view>& table);

// The leading decimal number of a command string (0 when there is none).
int LeadingNumber(std::string_view text);

}  // namespace tessaro
