#pragma once

#include "engine/Engine.h"
#include "persistence/RecordFile.h"

namespace tessaro {

// LoadRecord for a model of its own: an engine over it takes the record.
inline bool LoadInto(BoardModel& model, Settings& settings, int n) {
    Engine engine(model, settings);
    return LoadRecord(engine, n);
}

}  // namespace tessaro
