#include "shell/MenuTable.h"

#include <cctype>

namespace tessaro {

const std::vector<std::string_view>& MainMenuTable() {
    static const std::vector<std::string_view> table{
        "&Tessaro", "8:&Neues Spiel", "-", "10:&Spielstart", "25:N&eustart", "-", "12:Spieledruck", "-",
        "99:&Beenden", "",
        "&Optionen", "20:&lade Brett", "21:&sichere Brett", "-", "22:&Brett lösen", "26:B&rett löschen",
        "27:Brett &drucken", "24:Brett &mischen", "-", "11:&Eigenes Brett", "",
        "Sch&wierigkeit", "30:&Leicht", "31:&Mittel", "32:&Schwer", "33:&Extrem", "-", "40:&Zahlen",
        "41:&Buchstaben", "-", "44:Zeige &Kandidaten", "-", "50:&Ruhmeshalle", "",
        "&Hilfe", "60:&Anleitung", "-", "1:über &Tessaro...", "",
        ""};
    return table;
}

bool AsksForCell(int id) {
    switch (id) {
    case kCmdNewGame: case kCmdGameStart: case kCmdOwnBoard: case kCmdLoadBoard: case kCmdSaveBoard:
    case kCmdSolveBoard: case kCmdShuffleBoard: case kCmdRestart:
        return true;
    default:
        return false;
    }
}

int LeadingNumber(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        value = value * 10 + (c - '0');
        if (value > 1'000'000) break;  // ids are small; stop before an overflow
    }
    return value;
}

namespace {

// Reads the items of one popup up to its closing empty string.
std::vector<MenuEntry> ParseItems(const std::vector<std::string_view>& table, std::size_t& next) {
    std::vector<MenuEntry> items;
    while (next < table.size()) {
        const std::string_view item = table[next++];
        if (item.empty()) break;
        MenuEntry entry;
        if (item == "-") {
            entry.kind = MenuEntry::Kind::Separator;
        } else if (item.front() == '>') {
            entry.kind = MenuEntry::Kind::Popup;
            entry.caption = std::string(item.substr(1));
            entry.children = ParseItems(table, next);
        } else {
            entry.id = LeadingNumber(item);
            const auto colon = item.find(':');
            entry.caption = colon == std::string_view::npos ? std::string() : std::string(item.substr(colon + 1));
        }
        items.push_back(std::move(entry));
    }
    return items;
}

}  // namespace

std::vector<MenuEntry> ParseMenuTable(const std::vector<std::string_view>& table) {
    std::vector<MenuEntry> bar;
    std::size_t next = 0;
    while (next < table.size()) {
        const std::string_view title = table[next++];
        if (title.empty()) break;
        MenuEntry popup;
        popup.kind = MenuEntry::Kind::Popup;
        popup.caption = std::string(title);
        popup.children = ParseItems(table, next);
        bar.push_back(std::move(popup));
    }
    return bar;
}

}  // namespace tessaro
