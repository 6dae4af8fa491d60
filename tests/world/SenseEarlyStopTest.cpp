// Sense without painting stops beams early, casts last pass's shortest beam first,
// marches beams one at a time or two per vector and dismisses, or not, those the
// clearance proves longer; these tests hold every way to the plain march, one CastRay per
// beam in casting order.
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "WorldTestSupport.h"
#include "world/SimulationRun.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct Sector {
    double lower, upper;
    int slot;
};
const Sector kSectors[3] = {{-1.5707963267948966, -0.5235987755982988, 2},
                            {-0.5235987755982988, 0.5235987755982988, 1},
                            {0.5235987755982988, 1.5707963267948966, 0}};

// The reference: every beam marched to its end, the first of equal distances kept.
struct PlainSweep {
    double distance[3];
    int shortestBeam[3];
};

PlainSweep MarchEveryBeam(RobotSimulation& sim)
{
    PlainSweep result{};
    for (const Sector& sector : kSectors) {
        double shortest = sim.width + sim.height;
        int best = 0, index = 0;
        for (double offset = sector.lower; offset < sector.upper; offset += kPi / (3 * sim.raysPerSector), ++index) {
            const double d = sim.CastRay(sim.heading + offset, sim.centerX, sim.centerY, cv::Vec3b(), false);
            if (d < shortest) shortest = d, best = index;
        }
        result.distance[sector.slot] = shortest;
        result.shortestBeam[sector.slot] = best;
    }
    return result;
}

// Compares bit for bit: EXPECT_EQ on doubles would let -0.0 pass for 0.0.
::testing::AssertionResult SameAsPlain(RobotSimulation& sim, const PlainSweep& plain)
{
    for (int slot = 0; slot < 3; ++slot) {
        if (std::memcmp(&sim.sectorDistance[slot], &plain.distance[slot], sizeof(double)) != 0)
            return ::testing::AssertionFailure()
                   << "slot " << slot << ": " << sim.sectorDistance[slot] << " instead of " << plain.distance[slot];
        if (sim.shortestBeam[slot] != plain.shortestBeam[slot])
            return ::testing::AssertionFailure() << "slot " << slot << ": beam " << sim.shortestBeam[slot]
                                                 << " instead of " << plain.shortestBeam[slot];
    }
    return ::testing::AssertionSuccess();
}

// A heading that puts one beam of the sweep within delta of 45 degrees, where the
// marching case is decided by a rounding error.
double HeadingNearDiagonal(RandomState& random, double delta)
{
    const Sector& sector = kSectors[random.Next() % 3];
    const double offset = sector.lower + (random.Next() % 60) * (kPi / 180);
    const double diagonal = (2 * static_cast<int>(random.Next() % 8) - 7) * (kPi / 4);
    return diagonal - offset + delta;
}

// Random poses over the whole picture, or within edgeBand pixels of one of its edges,
// headings of every kind, and a stale or nonsensical hint of which beam was shortest
// last time.
void CompareAtRandomPoses(RobotSimulation& sim, RandomState& random, int poses, int edgeBand = 0)
{
    const double nearDiagonal[] = {0.0, 1e-16, -1e-16, 1e-12, -2e-9, 2e-9, 5e-9};
    for (int pose = 0; pose < poses; ++pose) {
        sim.centerX = random.Next() % 256 + (random.Next() % 1000) * 1e-3;
        sim.centerY = random.Next() % 256 + (random.Next() % 1000) * 1e-3;
        if (edgeBand > 0) {
            double& across = random.Next() % 2 ? sim.centerX : sim.centerY;
            const double in = (random.Next() % (1000 * edgeBand)) * 1e-3;
            across = random.Next() % 2 ? in : 256 - in;
        }
        switch (pose % 4) {
        case 0:
            sim.heading = HeadingNearDiagonal(random, nearDiagonal[random.Next() % 7]);
            break;
        case 1:
            sim.heading = (random.Next() % 2000001) * 1e-1 - 1e5;
            break;  // also past the quick case test
        default:
            sim.heading = (random.Next() % 1000000) * 2e-5 - 10;
            break;
        }
        const PlainSweep plain = MarchEveryBeam(sim);
        for (int& hint : sim.shortestBeam) hint = static_cast<int>(random.Next() % 70) - 5;
        sim.Sense(false);
        ASSERT_TRUE(SameAsPlain(sim, plain))
            << "pose " << pose << " at " << sim.centerX << "," << sim.centerY << " heading " << sim.heading;
        sim.Sense(false);  // now with the right hint
        ASSERT_TRUE(SameAsPlain(sim, plain)) << "pose " << pose << ", hinted";
        sim.SenseEveryBeamToItsEnd(false);
        ASSERT_TRUE(SameAsPlain(sim, plain)) << "pose " << pose << ", every beam to its end";
    }
}

// A white arena, no border walls, and `count` lone obstacle pixels anywhere.
void ScatterLoneObstacles(RobotSimulation& sim, RandomState& random, int count)
{
    sim.arena.setTo(cv::Scalar(255, 255, 255));
    for (int obstacle = 0; obstacle < count; ++obstacle)
        sim.arena.at<cv::Vec3b>(static_cast<int>(random.Next() % 256), static_cast<int>(random.Next() % 256)) =
            cv::Vec3b(0, 0, 0);
}

struct SenseWay {
    BeamVectors vectors;
    bool dismissing;
};

class SenseEarlyStop : public ::testing::TestWithParam<SenseWay> {
protected:
    std::unique_ptr<RobotSimulation> Forced(std::unique_ptr<RobotSimulation> sim) const
    {
        sim->beamVectors = GetParam().vectors;
        return sim;
    }

    // After the arena is final: a clearance of that arena, or none.
    void Ready(RobotSimulation& sim) const
    {
        if (GetParam().dismissing)
            sim.beamClearance.Build(sim.arena);
        else
            sim.beamClearance.Clear();
    }
};

INSTANTIATE_TEST_SUITE_P(EveryWay, SenseEarlyStop,
                         ::testing::Values(SenseWay{BeamVectors::kNone, false}, SenseWay{BeamVectors::kSse2, false},
                                           SenseWay{BeamVectors::kNone, true}, SenseWay{BeamVectors::kSse2, true}),
                         [](const ::testing::TestParamInfo<SenseWay>& info) {
                             return std::string(info.param.vectors == BeamVectors::kNone ? "OneBeamAtATime"
                                                                                         : "TwoPerSse2Vector") +
                                    (info.param.dismissing ? "DismissingByClearance" : "MarchingEveryContender");
                         });

}  // namespace

TEST_P(SenseEarlyStop, GivesThePlainMarchsDistancesInRandomArenas)
{
    RandomState random(2026);
    for (std::uint64_t seed : {3u, 42u, 77u, 1001u, 65535u}) {
        auto sim = Forced(MakeSeededWorld(seed));
        PrepareRun(*sim, InferenceTable{});
        Ready(*sim);
        CompareAtRandomPoses(*sim, random, 300);
    }
}

TEST_P(SenseEarlyStop, GivesThePlainMarchsDistancesInTheBordersOnlyArena)
{
    RandomState random(7);
    auto sim = Forced(MakeSeededWorld(9));
    PrepareRun(*sim, InferenceTable{});
    sim->GenerateArena(10.0, 0);
    Ready(*sim);
    CompareAtRandomPoses(*sim, random, 600);
}

TEST_P(SenseEarlyStop, GivesThePlainMarchsDistancesWhereBeamsLeaveThePicture)
{
    // No border walls: beams end on the picture's edges, which the march stops testing
    // along a stretch it has proved inside them. A few lone obstacles end others on the
    // way, some right on the first position tested.
    RandomState random(11);
    auto sim = Forced(MakeSeededWorld(11));
    PrepareRun(*sim, InferenceTable{});
    ScatterLoneObstacles(*sim, random, 40);
    Ready(*sim);
    CompareAtRandomPoses(*sim, random, 1500);
    // Near the edges a beam's clamp can end it nearer than the position that crossed
    // the edge, which the clearance must allow for.
    for (int obstacle = 0; obstacle < 400; ++obstacle) {
        const int along = static_cast<int>(random.Next() % 256), in = static_cast<int>(random.Next() % 30);
        const int row = random.Next() % 2 ? along : (random.Next() % 2 ? in : 255 - in);
        const int column = row == along ? (random.Next() % 2 ? in : 255 - in) : along;
        sim->arena.at<cv::Vec3b>(row, column) = cv::Vec3b(0, 0, 0);
    }
    Ready(*sim);
    CompareAtRandomPoses(*sim, random, 1500, 25);
}

TEST_P(SenseEarlyStop, GivesThePlainMarchsDistancesWithTwoBeamsASector)
{
    // With two beams a sector, the one cast second is dismissed or not by the first's
    // distance alone: many cheap poses probe how near to that distance a dismissal goes,
    // among lone obstacles and near the picture's edges.
    RandomState random(23);
    auto sim = Forced(MakeSeededWorld(23));
    PrepareRun(*sim, InferenceTable{});
    ScatterLoneObstacles(*sim, random, 300);
    Ready(*sim);
    sim->raysPerSector = 2;
    CompareAtRandomPoses(*sim, random, 15000, 12);
    CompareAtRandomPoses(*sim, random, 15000);
}

TEST_P(SenseEarlyStop, GivesThePlainMarchsDistancesWithVeryManyBeams)
{
    // Sweeps of up to 1024 beams may be dismissed by the clearance; longer ones, none.
    RandomState random(31);
    auto sim = Forced(MakeSeededWorld(31));
    PrepareRun(*sim, InferenceTable{});
    Ready(*sim);
    for (double rays : {1000.0, 1100.0, 59.5}) {
        sim->raysPerSector = rays;
        CompareAtRandomPoses(*sim, random, 12);
    }
}

TEST_P(SenseEarlyStop, SkipsTheColumnThePlainMarchSkipsWhereRoundingCrossesAWholePixel)
{
    // The first positions tested along +x lie just short of x = 128; one step on, the
    // sum rounds up to exactly 129, so the plain march never looks at column 128. A march
    // that counted whole pixels instead of truncating each position would hit the
    // obstacle placed there.
    auto sim = Forced(MakeEmptyWorld());
    sim->raysPerSector = 60;
    const double firstX = std::nextafter(128.0, 0.0);
    const double startOffset = 0.7 * sim->wheelBase + 1;
    sim->centerX = firstX - startOffset;
    sim->centerY = 100.5;
    sim->heading = 0;
    ASSERT_EQ(sim->centerX + startOffset, firstX);
    ASSERT_EQ(firstX + 1, 129.0);
    const PlainSweep unobstructed = MarchEveryBeam(*sim);
    sim->arena.at<cv::Vec3b>(100, 128) = cv::Vec3b(0, 0, 0);
    const PlainSweep plain = MarchEveryBeam(*sim);
    ASSERT_EQ(std::memcmp(plain.distance, unobstructed.distance, sizeof plain.distance), 0)
        << "the plain march sees column 128";
    Ready(*sim);
    for (int hint : {30, 0}) {
        sim->shortestBeam[1] = hint;
        sim->Sense(false);
        EXPECT_TRUE(SameAsPlain(*sim, plain)) << "beam " << hint << " cast first";
    }
}

TEST_P(SenseEarlyStop, KeepsTheLowerOffsetOfTwoEqualBeamsWhicheverIsCastFirst)
{
    // From (128, 100.5) heading along +x, beams at +13 and -13 degrees reach their first
    // positions at rows mirrored about the half pixel, one above and one below, with
    // exactly equal distances: an obstacle on each makes them the front sector's two
    // shortest beams.
    auto sim = Forced(MakeEmptyWorld());
    sim->raysPerSector = 60;
    sim->centerX = 128;
    sim->centerY = 100.5;
    sim->heading = 0;
    sim->arena.at<cv::Vec3b>(103, 139) = cv::Vec3b(10, 20, 30);
    sim->arena.at<cv::Vec3b>(97, 139) = cv::Vec3b(10, 20, 30);
    const double below = sim->CastRay(-13 * kPi / 180, 128, 100.5, cv::Vec3b(), false);
    ASSERT_EQ(below, sim->CastRay(13 * kPi / 180, 128, 100.5, cv::Vec3b(), false));
    const PlainSweep plain = MarchEveryBeam(*sim);
    ASSERT_EQ(plain.distance[1], below);
    ASSERT_EQ(plain.shortestBeam[1], 17) << "-13 degrees is beam 17 of the front sector";
    Ready(*sim);
    for (int hint : {43, 17, 0, 59}) {
        sim->shortestBeam[1] = hint;
        sim->Sense(false);
        EXPECT_TRUE(SameAsPlain(*sim, plain)) << "beam " << hint << " cast first";
    }
}

TEST_P(SenseEarlyStop, ChangesNoPassOfWholeRuns)
{
    // The tools' passes (nothing painted) against the desktop program's with the beams
    // shown, where every beam runs to its end.
    RandomState tables(5);
    for (std::uint64_t seed : {1u, 42u, 0xdeadbeefu}) {
        InferenceTable table;
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            table.angles[k] = (tables.Next() % 18001) * 0.01 - 90;
            table.speeds[k] = (tables.Next() % 3001) * 0.001;
        }
        auto quiet = Forced(MakeSeededWorld(seed));
        auto painted = MakeSeededWorld(seed);
        PrepareRun(*quiet, table);
        PrepareRun(*painted, table);
        Ready(*quiet);
        for (int pass = 0; pass < 1500; ++pass) {
            RunPass(*quiet);
            RunPass(*painted, {.robot = true, .beams = true});
            ASSERT_EQ(std::memcmp(quiet->sectorDistance, painted->sectorDistance, sizeof quiet->sectorDistance), 0)
                << "seed " << seed << " pass " << pass;
            ASSERT_EQ(quiet->centerX, painted->centerX) << "seed " << seed << " pass " << pass;
            ASSERT_EQ(quiet->centerY, painted->centerY);
            ASSERT_EQ(quiet->heading, painted->heading);
            ASSERT_EQ(quiet->steer, painted->steer);
            ASSERT_EQ(quiet->speed, painted->speed);
        }
        EXPECT_EQ(quiet->distance, painted->distance);
        EXPECT_EQ(quiet->collisions, painted->collisions);
        EXPECT_EQ(quiet->rng.state, painted->rng.state);
    }
}
