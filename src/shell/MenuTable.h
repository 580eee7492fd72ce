#pragma once

#include <string>
#include <string_view>
#include <vector>

class QMenuBar;
class QMenu;
class QWidget;

namespace tessaro {

// The ids of the menu commands as the menu table numbers them.
enum MenuCommand : int {
    kCmdAbout = 1,
    kCmdNewGame = 8,
    kCmdGameStart = 10,
    kCmdOwnBoard = 11,
    kCmdPrintGames = 12,
    kCmdLoadBoard = 20,
    kCmdSaveBoard = 21,
    kCmdSolveBoard = 22,
    kCmdShuffleBoard = 24,
    kCmdRestart = 25,
    kCmdClearBoard = 26,
    kCmdPrintBoard = 27,
    kCmdLeicht = 30,  // + difficulty 0..3
    kCmdMittel = 31,
    kCmdSchwer = 32,
    kCmdExtrem = 33,
    kCmdDigits = 40,
    kCmdLetters = 41,
    kCmdShowCandidates = 44,
    kCmdHallOfFame = 50,
    kCmdManual = 60,
    kCmdQuit = 99,
};
// The commands with a check mark.
inline constexpr MenuCommand kCheckedCommands[] = {kCmdLeicht, kCmdMittel, kCmdSchwer, kCmdExtrem,
                                                   kCmdDigits, kCmdLetters, kCmdShowCandidates};
// Commands that start by asking the player for a cell.
bool AsksForCell(int id);

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
