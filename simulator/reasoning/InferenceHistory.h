#pragma once
#include <cstddef>
#include <deque>

#include "reasoning/InferenceReading.h"

// One pass as the strip "Derniers pas" remembers it.
struct PassRecord {
    InferenceReading reading;
    bool collisionCounted = false;  // the pass counted a collision
};

// The last passes of a run, oldest first, at most kCapacity of them.
class InferenceHistory {
public:
    static constexpr std::size_t kCapacity = 200;

    // A new run, steered by `table`: the S1/S6 signs are told against it.
    void StartRun(const InferenceTable& table);
    // Reads the pass the world has just made, keeps it and returns it; the pass counted
    // a collision when the world's count grew since the pass before.
    const InferenceReading& Follow(const RobotSimulation& sim);
    // Adds the latest pass; beyond the capacity the oldest is forgotten.
    void Add(const InferenceReading& reading, bool collisionCounted);
    void Clear() { m_records.clear(); }
    std::size_t Size() const { return m_records.size(); }
    // The pass in the given column, 0 being the oldest.
    const PassRecord& At(std::size_t column) const { return m_records[column]; }

private:
    std::deque<PassRecord> m_records;
    InferenceTable m_table;
    int m_collisions = 0;  // as of the last pass followed
};
