#include "halloffame/HallOfFame.h"

#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace tessaro {

namespace {

// More than 120 full-length lines; the rest of a larger file is not read.
constexpr qint64 kMaxFileBytes = 1 << 20;

bool ValidLevel(int level) { return level >= 0 && level < kLevels; }

void EmptyPlace(HallOfFame& hof, int place, int level) {
    hof.names[place][level].clear();
    hof.dates[place][level].clear();
    hof.times[place][level] = QLatin1String(kEmptyTime);
}

// Bytes 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1. The five unassigned
// bytes keep their Latin-1 code points.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The line's text when it is valid UTF-8.
std::optional<QString> Utf8Text(std::string_view line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
    if (utf8.hasError()) return std::nullopt;
    return text;
}

// UTF-8 where the line is valid UTF-8 (earlier builds wrote it), else Windows-1252.
QString DecodeLine(std::string_view line) {
    if (std::optional<QString> utf8 = Utf8Text(line)) return *utf8;
    QString text;
    text.resize(static_cast<qsizetype>(line.size()));
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        text[static_cast<qsizetype>(i)] = QChar(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte});
    }
    return text;
}

// The Windows-1252 byte of a code point, or nothing when the code page lacks it.
std::optional<char> Cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    const auto* found = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
    if (found == std::end(kCp1252High)) return std::nullopt;
    return static_cast<char>(0x80 + (found - std::begin(kCp1252High)));
}

// The file's bytes of one line; a character the code page lacks (only names and dates read from
// files of earlier builds can hold one) is written as "?", visibly, never in another encoding.
std::string EncodeLine(const QString& text) {
    std::string bytes;
    for (const char32_t c : text.toUcs4()) bytes += Cp1252Byte(c).value_or('?');
    // Bytes such as "Ã¼" that also form UTF-8 would read back as UTF-8 ("ü"): the first of them
    // becomes "?" too, which leaves a stray byte, so the line reads back as written.
    const auto high = std::find_if(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) != 0; });
    if (high != bytes.end() && Utf8Text(bytes)) *high = '?';
    return bytes;
}

struct Entry {
    QString name, date, time;
};

}  // namespace

HallOfFame::HallOfFame() { ClearChampions(*this); }

void ClearChampions(HallOfFame& hof) {
    for (int level = 0; level < kLevels; ++level) ClearLevel(hof, level);
}

void ClearLevel(HallOfFame& hof, int level) {
    if (!ValidLevel(level)) return;
    for (int place = 0; place <= kPlaces; ++place) EmptyPlace(hof, place, level);
}

QString ChampionLine(const QString& text) {
    QString line = text.left(kMaxChampionLine);
    // Do not leave half a surrogate pair at the cut.
    if (!line.isEmpty() && line.back().isHighSurrogate()) line.chop(1);
    for (QChar& c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c.unicode() == 0x85) {
            c = u' ';
        }
    }
    return line;
}

QString UnstorableChampionChars(const QString& text) {
    QString missing;
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (!Cp1252Byte(c) && !missing.contains(character)) missing += character;
    }
    return missing;
}

bool IsChampionTime(const QString& time) {
    static constexpr char kPattern[] = "99:99:99.9";
    if (time.size() != 10) return false;
    for (int i = 0; i < 10; ++i) {
        const bool digit = time[i] >= u'0' && time[i] <= u'9';
        if (kPattern[i] == '9' ? !digit : time[i] != QLatin1Char(kPattern[i])) return false;
    }
    return true;
}

QString ChampionDate(const QDate& date, const QLocale& locale) {
    const QString text = locale.toString(date, QLocale::ShortFormat);
    // The file's code page cannot hold every locale's digits or marks; digits it can.
    if (!UnstorableChampionChars(text).isEmpty()) return date.toString(QStringLiteral("dd.MM.yyyy"));
    return text;
}

void ParseChampions(HallOfFame& hof, std::string_view bytes) {
    std::vector<QString> lines;
    lines.reserve(kChampionLines);
    // Lines end in CRLF or LF; a file without any LF was written with CR alone.
    const char end = bytes.find('\n') == std::string_view::npos ? '\r' : '\n';
    while (!bytes.empty() && static_cast<int>(lines.size()) < kChampionLines) {
        const auto stop = bytes.find(end);
        std::string_view line = bytes.substr(0, stop);
        bytes = stop == std::string_view::npos ? std::string_view{} : bytes.substr(stop + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Four bytes per character at most; decode no more than the kept part needs, cut where no
        // UTF-8 sequence is split.
        if (std::size_t keep = 4 * kMaxChampionLine; line.size() > keep) {
            while (keep > 0 && (static_cast<unsigned char>(line[keep]) & 0xC0) == 0x80) --keep;
            line = line.substr(0, keep);
        }
        lines.push_back(ChampionLine(DecodeLine(line)));
    }
    lines.resize(kChampionLines);

    ClearChampions(hof);
    for (int level = 0; level < kLevels; ++level) {
        std::vector<Entry> entries;
        for (int place = 1; place <= kPlaces; ++place) {
            const int first = 3 * (kPlaces * level + place - 1);
            // A place without a proper time (missing line, damage) counts as empty.
            if (IsChampionTime(lines[first + 2])) {
                entries.push_back({lines[first], lines[first + 1], lines[first + 2]});
            }
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.time < b.time; });
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int place = static_cast<int>(i) + 1;
            hof.names[place][level] = entries[i].name;
            hof.dates[place][level] = entries[i].date;
            hof.times[place][level] = entries[i].time;
        }
    }
}

std::string FormatChampions(const HallOfFame& hof) {
    std::string out;
    for (int level = 0; level < kLevels; ++level) {
        for (int place = 1; place <= kPlaces; ++place) {
            for (const auto* table : {&hof.names, &hof.dates, &hof.times}) {
                out += EncodeLine(ChampionLine((*table)[place][level]));
                out += "\r\n";
            }
        }
    }
    return out;
}

FileResult LoadChampions(HallOfFame& hof, const QString& path) {
    const FileContents file = ReadGameFile(path, kMaxFileBytes);
    if (file.status == ReadStatus::Unreadable) return FileResult::Failure(file.reason, true);
    ParseChampions(hof, std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())));
    return {};
}

FileResult UpdateChampions(HallOfFame& hof, const QString& path, const std::function<void(HallOfFame&)>& change) {
    HallOfFame merged;
    const FileResult result = UpdateGameFile(path, kMaxFileBytes, [&](const QByteArray& current) {
        ParseChampions(merged, std::string_view(current.constData(), static_cast<std::size_t>(current.size())));
        change(merged);
        const std::string text = FormatChampions(merged);
        return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
    });
    if (result) {
        hof.names = merged.names;
        hof.dates = merged.dates;
        hof.times = merged.times;
    } else {
        change(hof);
    }
    return result;
}

int ChampionPlace(const HallOfFame& hof, int level, const QString& time) {
    if (!ValidLevel(level) || !IsChampionTime(time)) return 0;
    for (int place = 1; place <= kPlaces; ++place) {
        if (time < hof.times[place][level]) return place;
    }
    return 0;
}

int InsertChampion(HallOfFame& hof, int level, const QString& name, const QString& date, const QString& time) {
    const int place = ChampionPlace(hof, level, time);
    if (place == 0) return 0;
    for (int k = kPlaces - 1; k >= place; --k) {
        hof.names[k + 1][level] = hof.names[k][level];
        hof.dates[k + 1][level] = hof.dates[k][level];
        hof.times[k + 1][level] = hof.times[k][level];
    }
    hof.names[place][level] = ChampionLine(name);
    hof.dates[place][level] = ChampionLine(date);
    hof.times[place][level] = time;
    return place;
}

bool MustTell(HallOfFame& hof, const FileResult& result) {
    if (result) return false;
    if (!result.unreadable) return true;
    return !std::exchange(hof.unreadableTold, true);
}

void EnterChampion(HallOfFame& hof, int level, const QString& time, const QString& path,
                   const ChampionForms& forms, const QDate& today) {
    hof.confirmed = false;
    if (ChampionPlace(hof, level, time) != 0) {
        if (forms.askName) forms.askName(hof);
        hof.championName = ChampionLine(hof.championName);
    }
    if (hof.confirmed) {
        const QString name = hof.championName;
        const QString date = ChampionDate(today);
        const FileResult saved =
            UpdateChampions(hof, path, [&](HallOfFame& h) { InsertChampion(h, level, name, date, time); });
        if (MustTell(hof, saved) && forms.reportFailure) forms.reportFailure(saved);
    } else {
        LoadChampions(hof, path);
    }
    if (forms.showHallOfFame) forms.showHallOfFame();
}

}  // namespace tessaro
