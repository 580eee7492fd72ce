#include "halloffame/HallOfFame.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>

#include <algorithm>
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

bool IsChampionTime(const QString& time) {
    static constexpr char kPattern[] = "99:99:99.9";
    if (time.size() != 10) return false;
    for (int i = 0; i < 10; ++i) {
        const bool digit = time[i] >= u'0' && time[i] <= u'9';
        if (kPattern[i] == '9' ? !digit : time[i] != QLatin1Char(kPattern[i])) return false;
    }
    return true;
}

QString ChampionDate(const QDate& date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

void ParseChampions(HallOfFame& hof, std::string_view bytes) {
    std::vector<QString> lines;
    lines.reserve(kChampionLines);
    while (!bytes.empty() && static_cast<int>(lines.size()) < kChampionLines) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        // Four bytes per character at most; decode no more than the kept part needs.
        line = line.substr(0, 4 * kMaxChampionLine);
        lines.push_back(ChampionLine(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))));
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
                out += ChampionLine((*table)[place][level]).toStdString();
                out += "\r\n";
            }
        }
    }
    return out;
}

bool LoadChampions(HallOfFame& hof, const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        ClearChampions(hof);
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.read(kMaxFileBytes);
    ParseChampions(hof, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
}

bool SaveChampions(const HallOfFame& hof, const QString& path) {
    // Unbuffered, so a full disk shows in write()'s count; commit() alone does not report it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const std::string text = FormatChampions(hof);
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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

void EnterChampion(HallOfFame& hof, int level, const QString& time, const QString& path,
                   const ChampionForms& forms, const QDate& today) {
    hof.confirmed = false;
    if (ChampionPlace(hof, level, time) != 0) {
        if (forms.askName) forms.askName(hof);
        hof.championName = ChampionLine(hof.championName);
        InsertChampion(hof, level, hof.championName, ChampionDate(today), time);
    }
    if (hof.confirmed) {
        SaveChampions(hof, path);
    } else {
        LoadChampions(hof, path);
    }
    if (forms.showHallOfFame) forms.showHallOfFame();
}

}  // namespace tessaro
