#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"

// What a table achieves over some passes of the usual start.
struct RunTotals {
    long long passes = 0;
    long long collisions = 0;
    double distance = 0;      // pixels travelled by the robot's centre
    long long escapes = 0;    // arenas whose robot left the world
    long long thrownOut = 0;  // of those, arenas whose robot went beyond any meaningful range
    long long arenas = 0;
    long long interiorCellsVisited = 0;  // summed over the arenas; see InteriorShare

    void Add(const RunTotals& other);
    double CollisionsPer1000Passes() const;
    double MeanSpeed() const;  // pixels per pass
    // Mean share of an arena's interior cells that the robot's centre entered.
    double InteriorShare() const;
};

// The floor is cut into cells of 16 x 16 pixels; the interior is the cells at least two
// cells (32 pixels) inside the border, columns and rows 2 to 13: 144 cells. Going round
// along the border wall enters none of them, so only driving among the obstacles counts.
inline constexpr int kFloorCellSize = 16;
inline constexpr int kFloorCellsPerSide = kWorldSize / kFloorCellSize;
inline constexpr int kInteriorFirstCell = 2;
inline constexpr int kInteriorLastCell = kFloorCellsPerSide - 3;
inline constexpr int kInteriorCellsPerSide = kInteriorLastCell - kInteriorFirstCell + 1;
inline constexpr int kInteriorCells = kInteriorCellsPerSide * kInteriorCellsPerSide;

// score = mean speed x explored share - collisionWeight x collisions per 1000 passes
// Speed alone would crown a robot that spins on the spot (its centre circles around
// the rear axle and the odometer runs at full speed without getting anywhere), so
// speed only counts as far as the robot goes round its arena.
// A table that throws the robot beyond any meaningful range (huge speeds or turns) has
// failed whatever it did before: its score is -infinity, below every table that can be
// driven at all.
struct ScoreFormula {
    double collisionWeight = 1.8;
    double Score(const RunTotals& totals) const;
};

// One arena: seeds the world, sets up the usual start with the table and runs the
// passes headless (nothing drawn: drawing changes no figure).
// A robot that leaves the image has left its arena for good: off the map it counts as
// one endless collision and drives on unhindered, so a table that bursts through the
// border would score top speed for one collision. Its run ends there; the passes it did
// not drive still count, with no distance. A robot thrown beyond any meaningful range
// (WorldReach.h) ends its run before a pass computes with absurd coordinates, and the
// table is a failure.
RunTotals RunArena(RobotSimulation& sim, const InferenceTable& table, std::uint64_t seed, int passes);

// Runs every (table, arena) pair on a pool of threads, each with a world of its own.
// The totals of a table are summed in seed order, so they do not depend on the
// number of threads or on which thread ran what.
class ParallelEvaluator {
public:
    ParallelEvaluator(int threads, int passesPerArena);

    // Totals per table, or nothing when stop was raised before every pair was run.
    std::optional<std::vector<RunTotals>> Evaluate(const std::vector<InferenceTable>& tables,
                                                   const std::vector<std::uint64_t>& seeds,
                                                   const std::atomic<bool>* stop = nullptr) const;

    // The figures of every pair, [table][arena in seed order], for measures that look at
    // how arenas differ. pairsDone, when given, counts the pairs as they finish, for a
    // progress line read from another thread.
    std::optional<std::vector<std::vector<RunTotals>>>
    EvaluateEachArena(const std::vector<InferenceTable>& tables, const std::vector<std::uint64_t>& seeds,
                      const std::atomic<bool>* stop = nullptr, std::atomic<std::size_t>* pairsDone = nullptr) const;

    int Threads() const { return m_threads; }
    int PassesPerArena() const { return m_passes; }

private:
    int m_threads;
    int m_passes;
};
