#include "engine/History.h"

namespace tessaro {

void History::Clear() {
    edits_.clear();
    entries_.clear();
    cursor_ = 0;
}

void History::Push(ChangeKind kind, std::span<const CellEdit> edits) {
    if (edits.empty()) return;
    if (cursor_ < entries_.size()) {
        edits_.resize(entries_[cursor_].start);
        entries_.resize(cursor_);
    }
    entries_.push_back({static_cast<std::uint32_t>(edits_.size()), kind});
    edits_.insert(edits_.end(), edits.begin(), edits.end());
    cursor_ = entries_.size();
}

std::span<const CellEdit> History::EditsOf(std::size_t entry) const {
    const std::size_t end = entry + 1 < entries_.size() ? entries_[entry + 1].start : edits_.size();
    return std::span<const CellEdit>(edits_).subspan(entries_[entry].start, end - entries_[entry].start);
}

std::span<const CellEdit> History::Undo() {
    if (!CanUndo()) return {};
    --cursor_;
    lastKind_ = entries_[cursor_].kind;
    return EditsOf(cursor_);
}

std::span<const CellEdit> History::Redo() {
    if (!CanRedo()) return {};
    lastKind_ = entries_[cursor_].kind;
    return EditsOf(cursor_++);
}

}  // namespace tessaro
