// The body among furniture: what its light bumps and bumper report, that it never goes
// into anything, and what its tally counts.
#include "RobotBody.h"
#include "Room.h"
#include "RoomFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using emulator::Box;
using emulator::Cylinder;
using emulator::Furniture;
using emulator::Pose;
using emulator::RobotBody;
using emulator::Room;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadius = RobotBody::kRadiusMm;

// Sensors in order: Left, Front Left, Center Left, Center Right, Front Right, Right.
int Group(const emulator::LightBumpSignals& s, int group)
{
    return s[2 * group] + s[2 * group + 1];
}

// A 4 x 4 m room, the robot in its middle heading +x, and one leg `fromRimMm` beyond the
// rim at `bearingDeg` (positive to the robot's left).
RobotBody LegAt(double bearingDeg, double fromRimMm, double legRadius)
{
    const double centre = kRadius + fromRimMm + legRadius;
    const double a = bearingDeg * kPi / 180;
    Furniture legs;
    legs.cylinders.push_back(Cylinder{2000 + centre * std::cos(a), 2000 + centre * std::sin(a), legRadius});
    return RobotBody(Room(4000, 4000, legs), Pose{2000, 2000, 0});
}

TEST(FurnishedRoom, TheLightBumpsSeeABoxAsTheySeeAWall)
{
    // A wall 290 mm ahead of the centre, and the same face as a box's in the middle of a room.
    const RobotBody facingWall(Room(2290, 4000), Pose{2000, 2000, 0});
    Furniture cupboard;
    cupboard.boxes.push_back(Box{2290 + 500, 2000, 1000, 3000, 0});
    const RobotBody facingBox(Room(6000, 6000, cupboard), Pose{2000, 2000, 0});
    EXPECT_EQ(facingBox.LightSignals(), facingWall.LightSignals());
    // Both centre sensors see it strongly, the front ones too little for their groups.
    const auto signals = facingBox.LightSignals();
    EXPECT_GT(Group(signals, 1), 1000);
    EXPECT_LT(Group(signals, 0), 400);
    EXPECT_LT(Group(signals, 2), 400);
    EXPECT_EQ(signals[2], signals[3]);

    // The same box turned a quarter round is the same box; turned by 45 it is seen by the
    // front sensors too, its corner nearer.
    Furniture turned = cupboard;
    turned.boxes[0].angleDeg = 90;
    std::swap(turned.boxes[0].widthMm, turned.boxes[0].depthMm);
    EXPECT_EQ(RobotBody(Room(6000, 6000, turned), Pose{2000, 2000, 0}).LightSignals(), signals);
}

TEST(FurnishedRoom, AThinLegBetweenTwoSensorsAxesIsSeenByBoth)
{
    // Midway between Center Left (14) and Front Left (42), between the two centre sensors,
    // between Front Left and Left (57): 60 mm beyond the rim, a 30 mm leg.
    for (double bearing : {28.0, 0.0, 57.0, -28.0}) {
        const auto signals = LegAt(bearing, 60, 15).LightSignals();
        int strongest = 0;
        for (auto s : signals) strongest = std::max<int>(strongest, s);
        EXPECT_GT(strongest, 300) << "bearing " << bearing;
    }
    const auto between = LegAt(28, 60, 15).LightSignals();
    EXPECT_EQ(between[1], between[2]) << "seen alike by both neighbours";
    EXPECT_GT(Group(between, 0), 400) << "enough for the controller's left group";
    EXPECT_GT(Group(between, 1), 400) << "and for its centre group";
    // The thinnest leg a room may hold is still seen at the end of the range.
    const auto thin = LegAt(14, 200, emulator::room_limits::kThinnestLegMm).LightSignals();
    EXPECT_GT(thin[2], 0);
    // Beyond the range, nothing; behind the sensors, nothing.
    for (auto s : LegAt(0, 300, 15).LightSignals()) EXPECT_EQ(s, 0);
    for (auto s : LegAt(180, 10, 15).LightSignals()) EXPECT_EQ(s, 0);
}

TEST(FurnishedRoom, TheBumperPressesOnTheSideItTouches)
{
    // Bit 0 the right half, bit 1 the left half; straight ahead both.
    const struct {
        double bearing;
        unsigned bumps;
    } contacts[] = {{0, 3u}, {15, 3u}, {-15, 3u}, {45, 2u}, {80, 2u}, {-45, 1u}, {-80, 1u}, {120, 0u}, {180, 0u}};
    for (const auto& contact : contacts) {
        RobotBody leg = LegAt(contact.bearing, 0.2, 15);
        EXPECT_EQ(leg.Bumps(), contact.bumps) << "leg at " << contact.bearing;
        Furniture sofa;
        const double a = contact.bearing * kPi / 180;
        // A box face square to the bearing, touching the rim.
        sofa.boxes.push_back(Box{2000 + (kRadius + 200) * std::cos(a), 2000 + (kRadius + 200) * std::sin(a), 400, 1000,
                                 contact.bearing});
        EXPECT_EQ(RobotBody(Room(4000, 4000, sofa), Pose{2000, 2000, 0}).Bumps(), contact.bumps)
            << "box at " << contact.bearing;
    }
    EXPECT_EQ(LegAt(0, 1, 15).Bumps(), 0u) << "a millimetre away is no contact";
}

TEST(FurnishedRoom, DrivingIntoALegStopsAtItsSurfaceAndSlidesOffAGlancingOne)
{
    Furniture legs;
    legs.cylinders.push_back(Cylinder{3000, 2000, 15});
    RobotBody body(Room(4000, 4000, legs), Pose{2000, 2000, 0});
    body.SetDuties(200, 200);
    for (int i = 0; i < 400; ++i) body.Step(0.015);
    EXPECT_NEAR(body.CurrentPose().xMm, 3000 - 15 - kRadius, 1e-6) << "stopped against it, not through";
    EXPECT_EQ(body.Bumps(), 3u);
    EXPECT_EQ(body.Tally().contacts, 1);
    EXPECT_EQ(body.Tally().minClearanceMm, 0);

    // Off-centre by 100 mm, the body glances off and drives on past the leg.
    RobotBody glancing(Room(4000, 4000, legs), Pose{2000, 2100, 0});
    glancing.SetDuties(200, 200);
    for (int i = 0; i < 400; ++i) glancing.Step(0.015);
    EXPECT_GT(glancing.CurrentPose().xMm, 3400);
    EXPECT_GT(glancing.CurrentPose().yMm, 2100);
}

TEST(FurnishedRoom, ABodyWedgedBetweenTwoPiecesStaysOutOfBoth)
{
    // Two legs 300 mm apart, less than the body's 340 mm: it cannot pass between them.
    Furniture legs;
    legs.cylinders.push_back(Cylinder{3000, 1850, 15});
    legs.cylinders.push_back(Cylinder{3000, 2150, 15});
    const Room room(4000, 4000, legs);
    RobotBody body(room, Pose{2000, 2000, 0});
    body.SetDuties(255, 255);
    for (int i = 0; i < 1000; ++i) {
        body.Step(0.015);
        ASSERT_GE(room.Clearance(body.CurrentPose().xMm, body.CurrentPose().yMm), kRadius - 1e-6) << i;
    }
    EXPECT_LT(body.CurrentPose().xMm, 3000 - 15);
    // A long step at once is no way through either.
    body.Step(1.0);
    EXPECT_LT(body.CurrentPose().xMm, 3000 - 15);
}

TEST(FurnishedRoom, ALongRandomDriveNeverEntersAnythingAndItsTallyAddsUp)
{
    emulator::RoomDescription description;
    std::string error;
    ASSERT_TRUE(emulator::ReadRoomFile(TRUNDEL_ROOMS "/living-room.txt", description, error)) << error;
    const Room room(description.widthMm, description.depthMm, description.furniture);
    RobotBody body(room, description.start);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> duty(-255, 255);
    double path = 0;
    double closest = 1e9;
    int pressings = 0;
    unsigned bumps = body.Bumps();
    // Ten simulated minutes, a new pair of duties every 0.6 s.
    for (int i = 0; i < 40000; ++i) {
        if (i % 40 == 0) body.SetDuties(duty(random), duty(random));
        const Pose before = body.CurrentPose();
        body.Step(0.015);
        const Pose after = body.CurrentPose();
        const double clearance = room.Clearance(after.xMm, after.yMm);
        ASSERT_GE(clearance, kRadius - 1e-6) << "inside something at step " << i;
        path += std::hypot(after.xMm - before.xMm, after.yMm - before.yMm);
        closest = std::min(closest, clearance - kRadius);
        pressings += bumps == 0 && body.Bumps() != 0;
        bumps = body.Bumps();
    }
    const emulator::RunTally& tally = body.Tally();
    EXPECT_NEAR(tally.seconds, 600, 1e-6);
    EXPECT_NEAR(tally.distanceMm, path, 1e-6 * path);
    EXPECT_GT(tally.distanceMm, 10000) << "it did drive";
    EXPECT_EQ(tally.contacts, pressings);
    EXPECT_GT(tally.contacts, 10) << "a random drive meets things";
    EXPECT_EQ(tally.minClearanceMm, 0);
    EXPECT_LT(closest, 0.5);
    RecordProperty("contacts", tally.contacts);
}

}  // namespace
