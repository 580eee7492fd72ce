#include "persistence/RecordFile.h"

#include "persistence/Record.h"

#include "engine/Engine.h"
#include "engine/Random.h"

#include <QByteArray>
#include <QString>

namespace tessaro {
namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

}  // namespace

FileResult ReadRecord(const std::string& path, int n, Position& record) {
    if (n < 0) return FileResult::Failure(QStringLiteral("kein solches Brett"));
    const auto end = static_cast<qint64>(n + 1) * static_cast<qint64>(kRecordSize);
    const FileContents file = ReadGameFile(QString::fromStdString(path), end);
    if (file.status == ReadStatus::Missing) return FileResult::Failure(QStringLiteral("Datei fehlt"));
    if (file.status == ReadStatus::Unreadable) return FileResult::Failure(file.reason, true);
    const std::optional<BoardRecord> parsed = ParseRecordAt(Bytes(file.bytes), n);
    if (!parsed) return FileResult::Failure(QStringLiteral("Datei beschädigt"));
    record = *parsed;
    return {};
}

FileResult LoadRecord(Engine& engine, int n) {
    engine.Config().timedGame = false;
    Position record;
    const FileResult result = ReadRecord(engine.Config().currentFile, n, record);
    if (result) engine.Load(record);
    return result;
}

FileResult StartPuzzle(Engine& engine, int level) {
    Settings& settings = engine.Config();
    settings.timedGame = false;
    settings.currentFile = std::string(kPuzzleFiles[static_cast<std::size_t>(level)]);
    Position record;
    const FileResult result = ReadRecord(settings.currentFile, RandomBelow(4), record);
    if (result) engine.StartPuzzle(record);
    return result;
}

FileResult SaveRecord(const BoardModel& model, const Settings& settings, int n) {
    if (n < 0 || n >= kSlotCount) return FileResult::Failure(QStringLiteral("kein solches Brett"));
    const RecordBytes record = EncodeRecord({model.board, model.givens, model.candidates});
    // Only the first four records can survive, so nothing beyond them needs reading.
    return UpdateGameFile(QString::fromStdString(settings.currentFile), static_cast<qint64>(kBoardFileSize),
                          [&](const QByteArray& current) {
                              const std::vector<std::uint8_t> image = BuildBoardFile(Bytes(current), n, record);
                              return QByteArray(reinterpret_cast<const char*>(image.data()),
                                                static_cast<qsizetype>(image.size()));
                          });
}

}  // namespace tessaro
