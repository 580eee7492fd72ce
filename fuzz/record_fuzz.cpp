// Feeds arbitrary bytes to the record reader as a whole board file, and checks that reading never
// yields a value the board model cannot hold and that rewriting a slot keeps the other records.
#include "persistence/Record.h"

#include <algorithm>
#include <cstdlib>
#include <span>

using namespace tessaro;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckRecord(const BoardRecord& record, std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < record.board.size(); ++i) {
        Check(record.board[i] <= 9 && record.givens[i] <= 9);
        Check(record.board[i] == bytes[kBoardOffset + i] && record.givens[i] == bytes[kGivensOffset + i]);
    }
    for (int i = 0; i < 1000; ++i) {
        const int x = i % 10, y = i / 10 % 10, d = i / 100;
        const bool stored = x > 0 && y > 0 && d > 0 && bytes[kMarksOffset + static_cast<std::size_t>(i)] != 0;
        Check(record.candidates[static_cast<std::size_t>(i)] == stored);
    }
    // Writing it back and reading again changes nothing.
    const RecordBytes encoded = EncodeRecord(record);
    const std::optional<BoardRecord> again = ParseRecord(encoded);
    Check(again.has_value() && *again == record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    for (int n = -1; n <= kSlotCount; ++n) {
        const std::optional<BoardRecord> record = ParseRecordAt(file, n);
        const bool inside = n >= 0 && (static_cast<std::size_t>(n) + 1) * kRecordSize <= size;
        Check(!record || inside);
        if (record) CheckRecord(*record, file.subspan(static_cast<std::size_t>(n) * kRecordSize, kRecordSize));
    }

    const int slot = size > 0 ? data[0] % kSlotCount : 0;
    const RecordBytes written = EncodeRecord(BoardRecord{});
    const std::vector<std::uint8_t> out = BuildBoardFile(file, slot, written);
    Check(out.size() == kBoardFileSize);
    const std::size_t whole = std::min<std::size_t>(size / kRecordSize, kSlotCount);
    for (int n = 0; n < kSlotCount; ++n) {
        const auto index = static_cast<std::size_t>(n);
        const auto got = std::span<const std::uint8_t>(out).subspan(index * kRecordSize, kRecordSize);
        if (n == slot) {
            Check(std::equal(got.begin(), got.end(), written.begin()));
        } else if (index < whole) {
            Check(std::equal(got.begin(), got.end(), data + index * kRecordSize));
        } else {
            Check(std::all_of(got.begin(), got.begin() + kFillerOffset, [](std::uint8_t b) { return b == 0; }));
            Check(std::all_of(got.begin() + kFillerOffset, got.end(),
                              [](std::uint8_t b) { return b >= 1 && b <= 9; }));
        }
    }
    return 0;
}
