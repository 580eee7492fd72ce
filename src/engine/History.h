#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaro {

// What one undo entry was, as the player made it.
enum class ChangeKind : std::uint8_t { Symbol, Mark, Given, Solve, Restart, Shuffle, Puzzle, CandidateDisplay };

// Which grid of a cell an edit touched. Marks are the cell's nine note marks as bits 1..9.
// Display is the candidate display switch (0 off, 1 on); its edit has no cell.
enum class Layer : std::uint8_t { Board, Given, Marks, Display };

struct CellEdit {
    std::uint8_t at;  // x + 10 * y
    Layer layer;
    std::uint16_t before;
    std::uint16_t after;
};

// The undo history: entries of cell edits in one flat array, so that a long game costs a few bytes
// per changed cell. Entries after the cursor can be redone until a new entry drops them.
class History {
public:
    void Clear();
    // A new entry after the current one; nothing is kept when edits is empty.
    void Push(ChangeKind kind, std::span<const CellEdit> edits);

    bool CanUndo() const { return cursor_ > 0; }
    bool CanRedo() const { return cursor_ < entries_.size(); }
    // The entry to take back (the cursor moves before it); empty when there is none.
    std::span<const CellEdit> Undo();
    // The entry to apply again (the cursor moves past it); empty when there is none.
    std::span<const CellEdit> Redo();
    // The kind of the entry last undone or redone.
    ChangeKind LastKind() const { return lastKind_; }

    std::size_t Entries() const { return entries_.size(); }
    // Heap bytes held.
    std::size_t Bytes() const {
        return edits_.capacity() * sizeof(CellEdit) + entries_.capacity() * sizeof(Entry);
    }

private:
    struct Entry {
        std::uint32_t start;
        ChangeKind kind;
    };
    std::span<const CellEdit> EditsOf(std::size_t entry) const;

    std::vector<CellEdit> edits_;
    std::vector<Entry> entries_;
    std::size_t cursor_ = 0;
    ChangeKind lastKind_ = ChangeKind::Symbol;
};

}  // namespace tessaro
