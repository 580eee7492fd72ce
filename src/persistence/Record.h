#pragma once

#include "engine/Board.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessaro {

// One board record: board image, givens image, candidate bytes, random filler. No header.
inline constexpr std::size_t kRecordSize = 2200;
inline constexpr std::size_t kBoardOffset = 0;
inline constexpr std::size_t kGivensOffset = 100;
inline constexpr std::size_t kMarksOffset = 200;
inline constexpr std::size_t kFillerOffset = 1200;
inline constexpr std::size_t kFillerSize = kRecordSize - kFillerOffset;
inline constexpr int kSlotCount = 4;
inline constexpr std::size_t kBoardFileSize = kSlotCount * kRecordSize;
inline constexpr std::uint8_t kMarkSet = 0xFF;

using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// What a record carries into the board model.
using BoardRecord = Position;

// Reads one record from exactly kRecordSize bytes. Anything else, or a board or givens byte
// above 9, yields nothing: the board model must never hold a value it cannot draw or check.
// Candidate bytes count as set when nonzero; index-0 marks are never set.
std::optional<BoardRecord> ParseRecord(std::span<const std::uint8_t> bytes);

// Record n of a whole file image; nothing when the record does not lie wholly inside it.
std::optional<BoardRecord> ParseRecordAt(std::span<const std::uint8_t> file, int n);

// The bytes of a record with fresh filler (1..9 each); marks written as 0xFF, index-0 marks as 0.
RecordBytes EncodeRecord(const BoardRecord& record);

// An unused slot: no board, no givens, no marks, fresh filler.
RecordBytes EmptyRecordBytes();

// The complete board file after writing `record` into `slot` (0..3) of `existing`.
// Every whole record of `existing` within the first four is kept byte for byte; missing slots
// become empty records. The result is always kBoardFileSize bytes.
std::vector<std::uint8_t> BuildBoardFile(std::span<const std::uint8_t> existing, int slot,
                                         const RecordBytes& record);

}  // namespace tessaro
