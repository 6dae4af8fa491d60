#include <cmath>
#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "world/SimulationRun.h"

namespace {

constexpr double kPi = 3.141592653589793;
const cv::Vec3b kWhite(255, 255, 255);
const cv::Vec3b kMagenta(255, 0, 255);

void PutObstacle(RobotSimulation& sim, int column, int row)
{
    sim.arena.at<cv::Vec3b>(row, column) = cv::Vec3b(10, 20, 30);
}

int PaintedPixels(const RobotSimulation& sim)
{
    return cv::countNonZero(cv::Mat(sim.canvas != cv::Scalar(255, 255, 255)).reshape(1));
}

}  // namespace

TEST(CastRay, ObstacleAtTheFirstPositionGivesExactlyOne)
{
    auto sim = MakeEmptyWorld();
    PutObstacle(*sim, 139, 128);  // 11.5 pixels ahead of x = 128 truncates to column 139
    EXPECT_EQ(sim->CastRay(0.0, 128, 128, kMagenta, true), 1.0);
    EXPECT_EQ(PaintedPixels(*sim), 0) << "neither the obstacle nor anything before it is painted";
}

TEST(CastRay, TheStretchBeforeTheStartOffsetIsBlind)
{
    auto sim = MakeEmptyWorld();
    PutObstacle(*sim, 138, 128);
    EXPECT_EQ(sim->CastRay(0.0, 128, 128, kMagenta, true), 256 - 128 - 10.5);
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128, 138), kWhite);
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128, 139), kMagenta);
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128, 255), kMagenta);
    EXPECT_EQ(PaintedPixels(*sim), 255 - 139 + 1);
}

TEST(CastRay, BeamsEndAtTheBorderTheyCross)
{
    auto sim = MakeEmptyWorld();
    // Already past the left edge at the first position: ends at x = 0, nothing read.
    EXPECT_EQ(sim->CastRay(kPi, 5, 128, kMagenta, true), -5.5);
    // Straight down and up, through the inverse slope of a near-vertical beam.
    EXPECT_EQ(sim->CastRay(-kPi / 2, 128, 128, kMagenta, false), 128 - 10.5);
    EXPECT_EQ(sim->CastRay(kPi / 2, 128, 0, kMagenta, false), 256 - 10.5);
    // Crossing the top edge steeply: only y is clamped, x keeps its marched value.
    const double r = 1 / (std::tan(kPi / 3) + 1e-24);
    const double expected = std::sqrt(r * 11.5 * (r * 11.5) + 6.0 * 6.0) - 10.5;
    EXPECT_NEAR(sim->CastRay(kPi / 3, 128, 250, kMagenta, false), expected, 1e-12);
    // From the corner pixels, in every direction, no byte outside the picture is touched.
    for (double x : {0.0, 255.0})
        for (double y : {0.0, 255.0})
            for (int degrees = 0; degrees < 360; degrees += 5) sim->CastRay(degrees * kPi / 180, x, y, kMagenta, true);
    EXPECT_GT(PaintedPixels(*sim), 0);
}

TEST(CastRay, FromOutsideThePictureOrWithoutDirectionTheBeamEndsAtItsOrigin)
{
    auto sim = MakeEmptyWorld();
    for (auto [x, y] : {std::pair{-1.0, 128.0}, {256.0, 128.0}, {128.0, -0.5}, {128.0, 300.0}, {-100.0, -100.0}})
        EXPECT_EQ(sim->CastRay(0.3, x, y, kMagenta, true), -10.5) << x << "," << y;
    EXPECT_EQ(sim->CastRay(std::nan(""), 128, 128, kMagenta, true), -10.5);
    EXPECT_EQ(sim->CastRay(INFINITY, 128, 128, kMagenta, true), -10.5);
    EXPECT_EQ(PaintedPixels(*sim), 0);
}

TEST(Sense, EachSectorFindsItsNearestWallAndHighlightsIt)
{
    auto sim = MakeEmptyWorld();
    sim->SetPose(128, 128, 0.0, 0.0);
    sim->centerX = 128;
    sim->centerY = 128;
    sim->raysPerSector = 60;
    sim->Sense(true);
    EXPECT_EQ(sim->sectorDistance[2], 117.5) << "right: straight down";
    EXPECT_EQ(sim->sectorDistance[1], 117.5) << "front: straight ahead";
    EXPECT_NEAR(sim->sectorDistance[0], 128 / std::sin(89 * kPi / 180) - 10.5, 0.6) << "left: 89 degrees";
    // Each shortest beam wears the colour of the next sector: green, red, blue.
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(50, 128), cv::Vec3b(0, 255, 0));
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128, 200), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(200, 129), cv::Vec3b(255, 0, 0));
    // Ordinary beams in their own sector colours.
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128 - 61, 128 + 60), cv::Vec3b(255, 0, 0)) << "right, -45 degrees";
    EXPECT_EQ(sim->canvas.at<cv::Vec3b>(128 + 60, 128 + 60), cv::Vec3b(0, 0, 255)) << "left, +45 degrees";
}

TEST(Sense, DrawingChangesNothingButTheCanvas)
{
    auto sim = MakeSeededWorld(11);
    PrepareRun(*sim, InferenceTable{});
    sim->canvas.setTo(cv::Scalar(255, 255, 255));
    const cv::Mat arenaBefore = sim->arena.clone();

    sim->Sense(false);
    EXPECT_EQ(PaintedPixels(*sim), 0);
    double quiet[3];
    std::copy(sim->sectorDistance, sim->sectorDistance + 3, quiet);

    sim->Sense(true);
    EXPECT_GT(PaintedPixels(*sim), 0);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(sim->sectorDistance[j], quiet[j]);
    EXPECT_TRUE(SameBytes(sim->arena, arenaBefore));
}

TEST(Sense, ARobotOffThePictureSeesNothingAndReadsNothing)
{
    auto sim = MakeEmptyWorld();
    sim->raysPerSector = 60;
    sim->heading = 1.0;
    sim->centerX = -3;
    sim->centerY = 400;
    sim->Sense(true);
    for (double d : sim->sectorDistance) EXPECT_EQ(d, -10.5);
    EXPECT_EQ(PaintedPixels(*sim), 0);
}

TEST(Sense, ABeamCountThatNeverReachesTheSectorEndStillEnds)
{
    auto sim = MakeEmptyWorld();
    sim->centerX = 128;
    sim->centerY = 128;
    sim->heading = 0;
    // A negative step, or one lost in the offset's rounding, would sweep for ever;
    // each sector then gets its first beam only: the right one points straight down.
    for (double beams : {0.0, -1.0, 1e18, std::nan("")}) {
        sim->sectorDistance[2] = 0;
        sim->raysPerSector = beams;
        sim->Sense(false);
        EXPECT_EQ(sim->sectorDistance[2], 117.5) << beams;
    }
}

TEST(Sense, BeamsMarchedSideBySideMatchBeamsCastOneByOne)
{
    // The sweep written plainly, one CastRay per beam, as the reference for the faster march.
    struct Sector {
        double lower, upper;
        int slot;
        cv::Vec3b colour, highlight;
    };
    const Sector sectors[3] = {{-1.5707963267948966, -0.5235987755982988, 2, {255, 0, 0}, {0, 255, 0}},
                               {-0.5235987755982988, 0.5235987755982988, 1, {0, 255, 0}, {0, 0, 255}},
                               {0.5235987755982988, 1.5707963267948966, 0, {0, 0, 255}, {255, 0, 0}}};
    auto sim = MakeSeededWorld(31);
    PrepareRun(*sim, InferenceTable{});
    RandomState poses(77);
    for (int trial = 0; trial < 40; ++trial) {
        sim->centerX = 12 + poses.Next() % 232;
        sim->centerY = 12 + poses.Next() % 232;
        sim->heading = (poses.Next() % 100000) * 1e-4 - 5;
        sim->canvas.setTo(cv::Scalar(255, 255, 255));
        sim->Sense(true);
        const cv::Mat fast = sim->canvas.clone();

        sim->canvas.setTo(cv::Scalar(255, 255, 255));
        for (const Sector& sector : sectors) {
            double shortest = 512, best = sector.lower;
            for (double offset = sector.lower; offset < sector.upper; offset += kPi / 180) {
                const double d = sim->CastRay(sim->heading + offset, sim->centerX, sim->centerY, sector.colour, true);
                if (d < shortest) shortest = d, best = offset;
            }
            ASSERT_EQ(sim->sectorDistance[sector.slot], shortest) << "trial " << trial;
            sim->CastRay(sim->heading + best, sim->centerX, sim->centerY, sector.highlight, true);
        }
        ASSERT_TRUE(SameBytes(fast, sim->canvas)) << "trial " << trial;
    }
}
