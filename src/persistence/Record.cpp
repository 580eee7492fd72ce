#include "persistence/Record.h"

#include "engine/Random.h"

#include <algorithm>

namespace tessaro {
namespace {

void FillFiller(RecordBytes& bytes) {
    for (std::size_t i = kFillerOffset; i < kRecordSize; ++i) {
        bytes[i] = static_cast<std::uint8_t>(1 + RandomBelow(9));
    }
}

}  // namespace

std::optional<BoardRecord> ParseRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kRecordSize) return std::nullopt;
    BoardRecord record;
    for (std::size_t i = 0; i < record.board.size(); ++i) {
        const std::uint8_t value = bytes[kBoardOffset + i];
        const std::uint8_t given = bytes[kGivensOffset + i];
        if (value > 9 || given > 9) return std::nullopt;
        record.board[i] = value;
        record.givens[i] = given;
    }
    for (int d = 1; d <= 9; ++d) {
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                record.candidates[At(x, y, d)] = bytes[kMarksOffset + At(x, y, d)] != 0;
            }
        }
    }
    return record;
}

std::optional<BoardRecord> ParseRecordAt(std::span<const std::uint8_t> file, int n) {
    if (n < 0) return std::nullopt;
    const std::size_t start = static_cast<std::size_t>(n) * kRecordSize;
    if (start > file.size() || file.size() - start < kRecordSize) return std::nullopt;
    return ParseRecord(file.subspan(start, kRecordSize));
}

RecordBytes EncodeRecord(const BoardRecord& record) {
    RecordBytes bytes{};
    std::copy(record.board.begin(), record.board.end(), bytes.begin() + kBoardOffset);
    std::copy(record.givens.begin(), record.givens.end(), bytes.begin() + kGivensOffset);
    for (int d = 1; d <= 9; ++d) {
        for (int y = 1; y <= 9; ++y) {
            for (int x = 1; x <= 9; ++x) {
                if (record.candidates[At(x, y, d)]) bytes[kMarksOffset + At(x, y, d)] = kMarkSet;
            }
        }
    }
    FillFiller(bytes);
    return bytes;
}

RecordBytes EmptyRecordBytes() {
    RecordBytes bytes{};
    FillFiller(bytes);
    return bytes;
}

std::vector<std::uint8_t> BuildBoardFile(std::span<const std::uint8_t> existing, int slot,
                                         const RecordBytes& record) {
    std::vector<std::uint8_t> file;
    file.reserve(kBoardFileSize);
    const std::size_t kept = std::min<std::size_t>(existing.size() / kRecordSize, kSlotCount);
    for (int n = 0; n < kSlotCount; ++n) {
        const auto index = static_cast<std::size_t>(n);
        if (n == slot) {
            file.insert(file.end(), record.begin(), record.end());
        } else if (index < kept) {
            const auto from = existing.subspan(index * kRecordSize, kRecordSize);
            file.insert(file.end(), from.begin(), from.end());
        } else {
            const RecordBytes empty = EmptyRecordBytes();
            file.insert(file.end(), empty.begin(), empty.end());
        }
    }
    return file;
}

}  // namespace tessaro
