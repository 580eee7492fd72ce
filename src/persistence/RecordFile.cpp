#include "persistence/RecordFile.h"

#include "persistence/Record.h"

#include <QByteArray>
#include <QString>

namespace tessaro {
namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

}  // namespace

FileResult LoadRecord(BoardModel& model, Settings& settings, int n) {
    settings.timedGame = false;
    if (n < 0) return FileResult::Failure(QStringLiteral("kein solches Brett"));
    const auto end = static_cast<qint64>(n + 1) * static_cast<qint64>(kRecordSize);
    const FileContents file = ReadGameFile(QString::fromStdString(settings.currentFile), end);
    if (file.status == ReadStatus::Missing) return FileResult::Failure(QStringLiteral("Datei fehlt"));
    if (file.status == ReadStatus::Unreadable) return FileResult::Failure(file.reason, true);
    const std::optional<BoardRecord> record = ParseRecordAt(Bytes(file.bytes), n);
    if (!record) return FileResult::Failure(QStringLiteral("Datei beschädigt"));
    model.board = record->board;
    model.givens = record->givens;
    model.candidates = record->candidates;
    return {};
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
