#include "reasoning/InferenceHistory.h"

void InferenceHistory::StartRun(const InferenceTable& table)
{
    m_records.clear();
    m_table = table;
    m_collisions = 0;
}

const InferenceReading& InferenceHistory::Follow(const RobotSimulation& sim)
{
    Add(ReadInference(sim, m_table), sim.collisions > m_collisions);
    m_collisions = sim.collisions;
    return m_records.back().reading;
}

void InferenceHistory::Add(const InferenceReading& reading, bool collisionCounted)
{
    if (m_records.size() == kCapacity) m_records.pop_front();
    m_records.push_back({reading, collisionCounted});
}
