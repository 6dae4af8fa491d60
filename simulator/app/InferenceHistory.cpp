#include "app/InferenceHistory.h"

void InferenceHistory::Add(const InferenceReading& reading, bool collisionCounted)
{
    if (m_records.size() == kCapacity) m_records.pop_front();
    m_records.push_back({reading, collisionCounted});
}
