#include <gtest/gtest.h>

#include "WorldTestSupport.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
enum Sector { kLeft, kFront, kRight };

// Entries chosen so every situation's command is recognisable: angle 10 * (k + 1),
// speed k + 1.
std::unique_ptr<RobotSimulation> MakeController(double lower, double upper)
{
    auto sim = MakeSeededWorld(1);
    InferenceTable table;
    for (int k = 0; k < 8; ++k) {
        table.angles[k] = 10.0 * (k + 1);
        table.speeds[k] = k + 1;
    }
    sim->SetController(table.angles, table.speeds, 60.0, false, lower, upper);
    return sim;
}

void SetDistances(RobotSimulation& sim, double left, double front, double right)
{
    sim.sectorDistance[kLeft] = left;
    sim.sectorDistance[kFront] = front;
    sim.sectorDistance[kRight] = right;
}

}  // namespace

TEST(FarMembership, RampAndItsEdges)
{
    EXPECT_EQ(RobotSimulation::FarMembership(10, 10, 20), 0.0);
    EXPECT_EQ(RobotSimulation::FarMembership(20, 10, 20), 1.0);
    EXPECT_EQ(RobotSimulation::FarMembership(15, 10, 20), 0.5);
    EXPECT_EQ(RobotSimulation::FarMembership(-5, 10, 20), 0.0);
    EXPECT_EQ(RobotSimulation::FarMembership(1e9, 10, 20), 1.0);
    // Equal bounds make a step; nothing is divided by zero.
    EXPECT_EQ(RobotSimulation::FarMembership(9.999, 10, 10), 0.0);
    EXPECT_EQ(RobotSimulation::FarMembership(10, 10, 10), 1.0);
}

TEST(SetController, RadiusRuleOrExplicitBoundsAndAPrivateCopy)
{
    auto sim = MakeSeededWorld(1);
    InferenceTable table;
    table.angles[3] = 12.5;
    sim->SetController(table.angles, table.speeds, 60.0, true, 15.0, 20.0);
    EXPECT_EQ(sim->nearDistance, sim->radius);
    EXPECT_EQ(sim->farDistance, 2 * sim->radius);
    EXPECT_EQ(sim->raysPerSector, 60.0);
    table.angles[3] = 99;
    EXPECT_EQ(sim->angles[3], 12.5);

    sim->SetController(table.angles, table.speeds, 30.0, false, 15.0, 20.0);
    EXPECT_EQ(sim->nearDistance, 15.0);
    EXPECT_EQ(sim->farDistance, 20.0);
}

TEST(ComputeCommand, ClearSituationsGiveTheirOwnEntry)
{
    auto sim = MakeController(10, 20);
    SetDistances(*sim, 25, 5, 25);  // only the front blocked: S6
    std::uint64_t before = sim->rng.state;
    sim->ComputeCommand();
    EXPECT_EQ(sim->steer, 60 * kDegreesToRadians);
    EXPECT_EQ(sim->speed, 6);
    EXPECT_EQ(sim->rng.state, before) << "S6 wins: no draw";

    SetDistances(*sim, 10, 9, -3);  // at or below the lower bound: all blocked, S1
    sim->ComputeCommand();
    EXPECT_EQ(sim->steer, 10 * kDegreesToRadians);
    EXPECT_EQ(sim->speed, 1);
    EXPECT_EQ(sim->rng.state, before);

    SetDistances(*sim, 20, 20, 20);  // at the upper bound: all free, S8, one draw
    sim->ComputeCommand();
    EXPECT_EQ(sim->steer, 80 * kDegreesToRadians);
    EXPECT_EQ(sim->speed, 8);
    RandomState expected(before);
    expected.Next();
    EXPECT_EQ(sim->rng.state, expected.state);
}

TEST(ComputeCommand, AllHalfFreeIsATieWonBySOneWithoutDraw)
{
    auto sim = MakeController(10, 20);
    SetDistances(*sim, 15, 15, 15);
    const std::uint64_t before = sim->rng.state;
    sim->ComputeCommand();
    EXPECT_EQ(sim->rng.state, before);
    EXPECT_DOUBLE_EQ(sim->steer, 45 * kDegreesToRadians);  // mean of 10..80
    EXPECT_DOUBLE_EQ(sim->speed, 4.5);
}

TEST(ComputeCommand, TieBetweenSThreeAndSSevenGoesToSThreeAndDraws)
{
    auto sim = MakeController(10, 20);
    sim->angles[0] = 7;
    sim->angles[5] = -3;
    SetDistances(*sim, 15, 25, 5);  // free degrees 0.5, 1, 0
    RandomState expected(sim->rng.state);
    const double sign = (expected.Next() & 1u) ? 1 : -1;
    sim->ComputeCommand();
    EXPECT_EQ(sim->rng.state, expected.state);
    EXPECT_EQ(sim->angles[0], 7 * sign);
    EXPECT_EQ(sim->angles[5], -3 * sign);
    EXPECT_EQ(sim->steer, (0.5 * 30 + 0.5 * 70) * kDegreesToRadians);
    EXPECT_EQ(sim->speed, 0.5 * 3 + 0.5 * 7);
}

TEST(ComputeCommand, SignDrawFollowsTheParityOfTheDrawnValue)
{
    auto sim = MakeController(10, 20);
    SetDistances(*sim, 30, 30, 30);
    int flips = 0, keeps = 0;
    for (int pass = 0; pass < 64; ++pass) {
        RandomState expected(sim->rng.state);
        const bool odd = expected.Next() & 1u;
        const double s1 = sim->angles[0], s6 = sim->angles[5];
        sim->ComputeCommand();
        EXPECT_EQ(sim->angles[0], odd ? s1 : -s1);
        EXPECT_EQ(sim->angles[5], odd ? s6 : -s6);
        (odd ? keeps : flips)++;
    }
    EXPECT_GT(flips, 0);
    EXPECT_GT(keeps, 0);
    // The two always carry the table's signs together or are both reversed.
    EXPECT_EQ(sim->angles[0] > 0, sim->angles[5] > 0);
}

TEST(ComputeCommand, KeepsTheReasoningItSteeredBy)
{
    auto sim = MakeController(10, 20);
    SetDistances(*sim, 12.5, 25, 17.5);  // free degrees 0.25, 1, 0.75
    sim->ComputeCommand();
    const FuzzyInference& seen = sim->inference;
    EXPECT_EQ(seen.degree[FuzzyInference::kLeft][FuzzyInference::kFree], 0.25);
    EXPECT_EQ(seen.degree[FuzzyInference::kLeft][FuzzyInference::kBlocked], 0.75);
    EXPECT_EQ(seen.degree[FuzzyInference::kRight][FuzzyInference::kFree], 0.75);
    EXPECT_EQ(seen.truth[0], 0.0) << "the front is wholly free";
    EXPECT_EQ(seen.truth[2 + 1], 0.75 * 0.75);  // S4: left blocked, front and right free
    EXPECT_EQ(seen.winner, 3);

    // The same numbers give the same command when summed again for a viewer.
    const FuzzyCommand again = WeightedCommand(seen, sim->angles, sim->speeds);
    EXPECT_EQ(again.angle * kDegreesToRadians, sim->steer);
    EXPECT_EQ(again.speed, sim->speed);
}
