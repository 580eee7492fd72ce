#pragma once

#include "persistence/GameFile.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tessaro {

inline constexpr int kPlaces = 10;
inline constexpr int kLevels = 4;
inline constexpr int kChampionLines = 3 * kPlaces * kLevels;  // 120
// Longest line the reader keeps; longer lines are cut, so a damaged file cannot blow up a table.
inline constexpr int kMaxChampionLine = 256;
inline constexpr char kChampionsFile[] = "Champions.Rhm";
inline constexpr char kEmptyTime[] = "9";  // sorts after every real time

// The ten best times of each level. Tables are indexed [place 1..10][level 0..3]; place 0 is unused.
// Within a level the filled places come first, in ascending time order.
struct HallOfFame {
    using Table = std::array<std::array<QString, kLevels>, kPlaces + 1>;

    HallOfFame();

    Table names;
    Table dates;
    Table times;
    QString championName;    // the last name entered, offered again next time
    bool confirmed = false;  // the player accepted the name form
    bool unreadableTold = false;  // the player knows the file cannot be read

    bool Filled(int place, int level) const { return times[place][level] != QLatin1String(kEmptyTime); }
};

// Every place of every level empty.
void ClearChampions(HallOfFame& hof);
// The ten places of one level empty.
void ClearLevel(HallOfFame& hof, int level);

// Reads the tables from the file's bytes, each line as UTF-8 where it is valid UTF-8 (files of
// earlier builds), else as Windows-1252. Missing lines and damaged places stay empty, overlong
// lines are cut, and each level is put back in order, so any input yields valid tables.
void ParseChampions(HallOfFame& hof, std::string_view bytes);
// The 120 CRLF lines of the file, in Windows-1252.
std::string FormatChampions(const HallOfFame& hof);

// Reads the file, or empties the tables when it is missing. A file that cannot be read leaves the
// tables as they are, and the result says why.
FileResult LoadChampions(HallOfFame& hof, const QString& path);
// Applies change to the tables the file holds now (another game may have added to them), writes
// them back under the file's lock and puts the merged tables into hof. A file that exists but
// cannot be read is never replaced; then, as on any failure, hof gets change applied to its own
// tables and the result says why.
FileResult UpdateChampions(HallOfFame& hof, const QString& path, const std::function<void(HallOfFame&)>& change);

// A name or date as one storable line: line breaks and other control characters become blanks,
// and the text is cut to the reader's line length.
QString ChampionLine(const QString& text);
// The characters of text that the file, written in Windows-1252, cannot hold, each once.
QString UnstorableChampionChars(const QString& text);
// True for a time of the form hh:mm:ss.t.
bool IsChampionTime(const QString& time);
// The locale's short date, or dd.mm.yyyy when it holds characters the file cannot store.
QString ChampionDate(const QDate& date, const QLocale& locale = QLocale::system());

// The place 1..10 that `time` earns in `level` (ties go below equal times), or 0.
int ChampionPlace(const HallOfFame& hof, int level, const QString& time);
// Inserts at the earned place, moving the places below down by one (the tenth is lost).
// Returns the place, or 0 when the time earns none.
int InsertChampion(HallOfFame& hof, int level, const QString& name, const QString& date, const QString& time);

// Whether the player must hear of this result: every failure, but an unreadable file only once.
bool MustTell(HallOfFame& hof, const FileResult& result);

// The two forms of the hall of fame, supplied by the UI.
struct ChampionForms {
    // Asks for the name (prefilled with championName); sets championName and confirmed on accept.
    std::function<void(HallOfFame&)> askName;
    // Shows the hall of fame and returns when it is closed.
    std::function<void()> showHallOfFame;
    // Tells the player that the file could not be written.
    std::function<void(const FileResult&)> reportFailure;
};

// After a timed solve: asks for the name when the time earns a place; a confirmed entry is saved,
// otherwise the file's state is read back; then the hall of fame is shown in any case. A failed
// save is reported as MustTell says.
void EnterChampion(HallOfFame& hof, int level, const QString& time, const QString& path,
                   const ChampionForms& forms, const QDate& today = QDate::currentDate());

}  // namespace tessaro
