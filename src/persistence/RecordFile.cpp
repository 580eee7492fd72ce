#include "persistence/RecordFile.h"

#include "persistence/Record.h"

#include "engine/Engine.h"
#include "engine/Random.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

namespace tessaro {
namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

}  // namespace

std::optional<Position> ReadRecord(const std::string& path, int n) {
    if (n < 0) return std::nullopt;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (!file.seek(static_cast<qint64>(n) * static_cast<qint64>(kRecordSize))) return std::nullopt;
    const QByteArray data = file.read(static_cast<qint64>(kRecordSize));
    return ParseRecord(Bytes(data));
}

bool LoadRecord(Engine& engine, int n) {
    engine.Config().timedGame = false;
    const std::optional<Position> record = ReadRecord(engine.Config().currentFile, n);
    if (record) engine.Load(*record);
    return record.has_value();
}

bool StartPuzzle(Engine& engine, int level) {
    Settings& settings = engine.Config();
    settings.timedGame = false;
    settings.currentFile = std::string(kPuzzleFiles[static_cast<std::size_t>(level)]);
    const std::optional<Position> record = ReadRecord(settings.currentFile, RandomBelow(4));
    if (record) engine.StartPuzzle(*record);
    return record.has_value();
}

bool SaveRecord(const BoardModel& model, const Settings& settings, int n) {
    if (n < 0 || n >= kSlotCount) return false;
    const QString path = QString::fromStdString(settings.currentFile);

    // Only the first four records can survive, so nothing beyond them needs reading.
    QByteArray existing;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) return false;
        existing = old.read(static_cast<qint64>(kBoardFileSize));
        if (old.error() != QFileDevice::NoError) return false;
        old.close();
    }

    const BoardRecord record{model.board, model.givens, model.candidates};
    const std::vector<std::uint8_t> image = BuildBoardFile(Bytes(existing), n, EncodeRecord(record));

    // Unbuffered, so a short write (full disk) shows in write()'s count: commit() alone still
    // reports success after a failed buffered flush. On any failure the destructor drops the
    // temporary file and the old file stays.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const auto size = static_cast<qint64>(image.size());
    if (out.write(reinterpret_cast<const char*>(image.data()), size) != size) return false;
    return out.commit();
}

}  // namespace tessaro
