#pragma once
#include <cstddef>
#include <deque>

#include "app/InferenceReading.h"

// One pass as the strip "Derniers pas" remembers it.
struct PassRecord {
    InferenceReading reading;
    bool collisionCounted = false;  // the pass counted a collision
};

// The last passes of a run, oldest first, at most kCapacity of them.
class InferenceHistory {
public:
    static constexpr std::size_t kCapacity = 200;

    void Clear() { m_records.clear(); }
    // Adds the latest pass; beyond the capacity the oldest is forgotten.
    void Add(const InferenceReading& reading, bool collisionCounted);
    std::size_t Size() const { return m_records.size(); }
    // The pass in the given column, 0 being the oldest.
    const PassRecord& At(std::size_t column) const { return m_records[column]; }

private:
    std::deque<PassRecord> m_records;
};
