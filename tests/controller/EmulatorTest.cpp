// The emulated robot: command decoding, wheel and sensor physics, and its behaviour on
// the line as the controller sees it.
#include "EmulatedRobot.h"
#include "LectureID.h"
#include "LinkTestSupport.h"
#include "OpenInterfaceDecoder.h"
#include "RS232.h"
#include "RobotBody.h"
#include "RobotTimeline.h"
#include "SensorPackets.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <thread>

using emulator::Command;
using emulator::Pose;
using emulator::RobotBody;
using emulator::Wheel;
using link_test::Bytes;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCountsPerMm = 508.8 / (kPi * 72.0);

// Polls a condition for up to ten seconds: the robot moves on its own clock.
template <class Condition>
bool Eventually(Condition condition)
{
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

TEST(OpenInterfaceDecoder, CutsCommandsByTheirDataLengthsHoweverTheBytesArrive)
{
    const Bytes line{128, 131, 140, 0,   2,   60, 8,  62, 8,  // Song of two notes
                     148, 3,   43,  44,  7,                   // Stream of three packets
                     146, 0,   19,  255, 237,                 // Drive PWM holding a 19
                     150, 0,   167, 1,   2,   3,  4,  5,  6,   7,
                     8,   9,   10,  11,  12,  13, 14, 15, 200, 173};  // no such opcode, then Stop
    const std::vector<std::pair<int, std::size_t>> expected{{128, 0}, {131, 0},  {140, 6}, {148, 4}, {146, 4},
                                                            {150, 1}, {167, 15}, {200, 0}, {173, 0}};
    for (int chunk : {1, 3, int(line.size())}) {
        emulator::OpenInterfaceDecoder decoder;
        std::vector<Command> commands;
        for (std::size_t at = 0; at < line.size(); at += chunk) {
            const int size = std::min<int>(chunk, int(line.size() - at));
            for (Command& c : decoder.Feed(line.data() + at, size)) commands.push_back(std::move(c));
        }
        ASSERT_EQ(commands.size(), expected.size()) << "chunks of " << chunk;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(commands[i].opcode, expected[i].first);
            EXPECT_EQ(commands[i].data.size(), expected[i].second) << int(commands[i].opcode);
        }
        EXPECT_EQ(commands[4].data, (Bytes{0, 19, 255, 237}));
    }
}

TEST(RobotBody, DrivesAndSpinsAsItsWheelsAndEncodersSay)
{
    RobotBody body(4000, 4000, Pose{2000, 1000, 90});
    body.SetDuties(255, 255);
    for (int i = 0; i < 100; ++i) body.Step(0.01);  // one second at 500 mm/s
    EXPECT_NEAR(body.CurrentPose().yMm, 1500, 1e-6);
    EXPECT_NEAR(body.CurrentPose().headingDeg, 90, 1e-9);
    EXPECT_EQ(body.EncoderCount(Wheel::Left), std::floor(500 * kCountsPerMm));
    EXPECT_EQ(body.EncoderCount(Wheel::Right), body.EncoderCount(Wheel::Left));

    // A full turn on the spot to the left: each wheel travels the circle of the wheel base.
    RobotBody spinner(4000, 4000, Pose{2000, 2000, 0});
    const double speed = 100;
    spinner.SetWheelSpeeds(speed, -speed);
    const double seconds = kPi * 235.0 / speed;
    for (int i = 0; i < 1000; ++i) spinner.Step(seconds / 1000);
    EXPECT_NEAR(spinner.CurrentPose().headingDeg, 360, 1e-6);
    EXPECT_NEAR(spinner.CurrentPose().xMm, 2000, 1e-6);
    const double perWheel = kPi * 235.0 * kCountsPerMm;  // about 1661 counts
    EXPECT_NEAR(spinner.EncoderCount(Wheel::Right), perWheel, 1.0);
    // The left wheel ran backwards from 0: its count wrapped below 65536.
    EXPECT_NEAR(spinner.EncoderCount(Wheel::Left), 65536 - perWheel, 1.0);
}

TEST(RobotBody, AStalledWheelNeitherCountsNorCarries)
{
    RobotBody body(4000, 4000, Pose{2000, 2000, 0});
    body.Stall(Wheel::Left, true);
    body.SetDuties(255, 255);
    for (int i = 0; i < 50; ++i) body.Step(0.01);
    EXPECT_EQ(body.EncoderCount(Wheel::Left), 0);
    EXPECT_GT(body.EncoderCount(Wheel::Right), 500);
    // Pivoting on the left wheel turns the robot to the left.
    EXPECT_GT(body.CurrentPose().headingDeg, 30);
}

TEST(RobotBody, WallsStopTheRobotPressItsBumperAndLightItsSensors)
{
    RobotBody body(2000, 2000, Pose{1000, 1000, 90});
    for (auto s : body.LightSignals()) EXPECT_EQ(s, 0) << "nothing in range in the middle";
    body.SetDuties(200, 200);
    unsigned previousCentre = 0;
    while (body.Bumps() == 0 && body.CurrentPose().yMm < 2000) {
        body.Step(0.015);
        const unsigned centre = body.LightSignals()[2] + body.LightSignals()[3];
        EXPECT_GE(centre, previousCentre);
        previousCentre = centre;
    }
    EXPECT_EQ(body.Bumps(), 3u) << "a wall straight ahead presses both halves";
    EXPECT_NEAR(body.CurrentPose().yMm, 2000 - RobotBody::kRadiusMm, 1e-9);
    EXPECT_GT(previousCentre, 2 * 3000u);
    const auto before = body.EncoderCount(Wheel::Left);
    body.Step(0.1);
    EXPECT_NEAR(body.CurrentPose().yMm, 2000 - RobotBody::kRadiusMm, 1e-9);
    EXPECT_GT(body.EncoderCount(Wheel::Left), before) << "the wheels slip against the wall";

    // A wall ahead and to the left presses only the left half.
    body.SetPose(Pose{1000, 2000 - RobotBody::kRadiusMm, 45});
    EXPECT_EQ(body.Bumps(), 2u);
    body.SetPose(Pose{1000, 1000, 270});
    EXPECT_EQ(body.Bumps(), 0u);
}

TEST(SensorPackets, SizesAgreeWithTheControllersTable)
{
    InitTableauID();
    for (int id = 0; id < 64; ++id) EXPECT_EQ(emulator::PacketSize(id), tabData[id].nBytes) << id;
}

// The robot on its pseudo-terminal, driven through the controller's port.
class RobotOnTheLine : public ::testing::Test {
protected:
    void Begin(const emulator::RobotOptions& options = {})
    {
        robot_ = std::make_unique<emulator::EmulatedRobot>(options);
        ASSERT_TRUE(robot_->Start()) << robot_->LastError();
        ASSERT_EQ(OpenCOMDevice(robot_->DevicePath().c_str()), 1);
    }
    void TearDown() override
    {
        CloseCOM();
        if (robot_) robot_->Stop();
    }
    void Send(Bytes bytes, unsigned char awaitedOpcode, std::size_t count = 1)
    {
        int written = 0;
        ASSERT_EQ(WriteCOM(bytes.data(), int(bytes.size()), &written), 1);
        ASSERT_TRUE(robot_->WaitForCommand(awaitedOpcode, 5000, count));
    }
    // What the robot wrote, read until `count` bytes have come (ten seconds at most).
    Bytes Take(std::size_t count)
    {
        Bytes got;
        unsigned char chunk[256];
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            int read = 0;
            ReadCOM(chunk, int(std::min(sizeof chunk, count - got.size())), &read);
            got.insert(got.end(), chunk, chunk + read);
        }
        return got;
    }
    std::size_t FrameBytes() const
    {
        std::size_t bytes = 0;
        for (const emulator::SentFrame& frame : robot_->SentFrames()) bytes += frame.bytes.size();
        return bytes;
    }
    // Everything the robot writes within the time given.
    Bytes Listen(int milliseconds)
    {
        Bytes got;
        unsigned char chunk[256];
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            int count = 0;
            ReadCOM(chunk, sizeof chunk, &count);
            got.insert(got.end(), chunk, chunk + count);
        }
        return got;
    }

    std::unique_ptr<emulator::EmulatedRobot> robot_;
};

TEST_F(RobotOnTheLine, MovesOnlyInSafeModeAndRecordsEverything)
{
    Begin();
    EXPECT_EQ(robot_->CurrentMode(), emulator::Mode::Off);
    Send({146, 0, 200, 0, 200}, 146);
    Send({128}, 128);
    EXPECT_EQ(robot_->CurrentMode(), emulator::Mode::Passive);
    Send({146, 0, 200, 0, 200}, 146, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(robot_->EncoderCounts()[0], 0) << "asleep or passive, the wheels do not turn";

    Send({131, 146, 0, 200, 0, 200}, 146, 3);
    EXPECT_EQ(robot_->CurrentMode(), emulator::Mode::Safe);
    EXPECT_TRUE(Eventually([&] { return robot_->CurrentPose().yMm > 1510; }));
    Send({146, 0, 0, 0, 0}, 146, 4);
    EXPECT_GT(robot_->EncoderCounts()[0], 0);
    EXPECT_EQ(robot_->EncoderCounts()[0], robot_->EncoderCounts()[1]);
    EXPECT_EQ(robot_->ReceivedBytes().size(), 5u + 1 + 5 + 6 + 5);
}

TEST_F(RobotOnTheLine, StreamsCheckedFramesUntilPausedAndAnswersQueries)
{
    Begin();
    Send({128, 131, 148, 3, 43, 44, 46}, 148);
    ASSERT_TRUE(robot_->WaitForFrames(3, 5000));
    for (const auto& frame : robot_->SentFrames()) {
        EXPECT_TRUE(frame.intact);
        ASSERT_EQ(frame.bytes.size(), 3u + 3 * 3);
        EXPECT_EQ(frame.bytes[0], 19);
        EXPECT_EQ(frame.bytes[1], 9);
        EXPECT_EQ(frame.bytes[2], 43);
        EXPECT_EQ(frame.bytes[5], 44);
        EXPECT_EQ(frame.bytes[8], 46);
        unsigned sum = 0;
        for (unsigned char b : frame.bytes) sum += b;
        EXPECT_EQ(sum % 256, 0u);
    }
    Send({150, 0}, 150);
    EXPECT_FALSE(robot_->Streaming());
    const std::size_t paused = robot_->SentFrames().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_LE(robot_->SentFrames().size(), paused + 1);
    Send({150, 1}, 150, 2);
    EXPECT_TRUE(robot_->WaitForFrames(paused + 3, 5000));
    Send({150, 0, 142, 35}, 142);
    // The stream was paused before the query: every frame sent, then the answer.
    const std::size_t expected = FrameBytes() + 1;
    const Bytes heard = Take(expected);
    ASSERT_EQ(heard.size(), expected);
    EXPECT_EQ(heard.back(), 2) << "OI mode Safe";
}

TEST_F(RobotOnTheLine, InjectsTheFaultsItIsAskedFor)
{
    emulator::RobotOptions options;
    options.faults.corruptEvery = 4;
    options.faults.splitFrames = true;
    options.faults.noise = true;
    Begin(options);
    Send({128, 148, 2, 43, 44}, 148);
    ASSERT_TRUE(robot_->WaitForFrames(12, 5000));
    const auto frames = robot_->SentFrames();
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(frames[i].intact, (i + 1) % 4 != 0) << i;
    // Noise comes on top of the frames: more bytes reach the line than the frames hold.
    // The last frame recorded may have come after the listening ended: it is left out.
    const std::size_t before = robot_->SentFrames().size();
    const Bytes heard = Listen(300);
    const auto after = robot_->SentFrames();
    std::size_t frameBytes = 0;
    for (std::size_t i = before; i + 1 < after.size(); ++i) frameBytes += after[i].bytes.size();
    EXPECT_GT(heard.size(), frameBytes);
}

TEST_F(RobotOnTheLine, ASilentRobotTakesCommandsButNeverStreams)
{
    emulator::RobotOptions options;
    options.faults.silent = true;
    Begin(options);
    Send({128, 131, 148, 1, 7}, 148);
    EXPECT_TRUE(robot_->Streaming());
    EXPECT_TRUE(Listen(100).empty());
    EXPECT_TRUE(robot_->SentFrames().empty());
}

TEST_F(RobotOnTheLine, AStalledWheelShowsInTheTruePose)
{
    Begin();
    robot_->StallWheel(Wheel::Right, true);
    Send({128, 131, 146, 0, 150, 0, 150}, 146);
    EXPECT_TRUE(Eventually([&] { return robot_->CurrentPose().headingDeg < 90 - 5; }))
        << "pivoting on the right wheel turns right";
    EXPECT_EQ(robot_->EncoderCounts()[1], 0);
    EXPECT_GT(robot_->EncoderCounts()[0], 0);
}

TEST_F(RobotOnTheLine, ASleepingRobotTakesNoCommandAndSendsNothing)
{
    emulator::RobotOptions options;
    options.asleep = true;
    Begin(options);
    Send({128, 131, 148, 1, 43, 142, 35, 146, 0, 200, 0, 200}, 146);
    EXPECT_EQ(robot_->CurrentMode(), emulator::Mode::Off) << "not even Start wakes it";
    EXPECT_FALSE(robot_->Streaming());
    EXPECT_TRUE(Listen(100).empty()) << "no frame, no answer to the query";
    EXPECT_DOUBLE_EQ(robot_->CurrentPose().yMm, 1500);
}

TEST_F(RobotOnTheLine, TheFaultsWorkAmongFurnitureToo)
{
    emulator::RobotOptions options;
    options.furniture.boxes.push_back(emulator::Box{1500, 2500, 1000, 400, 10});
    options.furniture.cylinders.push_back(emulator::Cylinder{2500, 1500, 20});
    options.faults.corruptEvery = 3;
    options.faults.splitFrames = true;
    options.cliff = emulator::Cliff{true, 1500, 2000, 200};  // in front of the box
    Begin(options);
    Send({128, 131, 148, 1, 7, 146, 0, 200, 0, 200}, 146);
    ASSERT_TRUE(robot_->WaitForFrames(6, 5000));
    const auto frames = robot_->SentFrames();
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(frames[i].intact, (i + 1) % 3 != 0) << i;
    EXPECT_TRUE(Eventually([&] { return robot_->CurrentMode() == emulator::Mode::Passive; }))
        << "the hole in the floor still stops it";
    EXPECT_LT(robot_->CurrentPose().yMm, 1900 - RobotBody::kRadiusMm + 10);
}

TEST(TrundelRobotProgram, ItsLinkNeverReplacesAFileThatIsNoLink)
{
    link_test::ScratchDirectory scratch;
    {
        std::ofstream("precious") << "keep me\n";
    }
    // Refused at once; were the file taken over, the robot would run until the time-out.
    const std::string command =
        std::string("timeout 10 '") + TRUNDEL_ROBOT_PROGRAMME + "' --link precious 2>erreurs >/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream precious("precious");
    std::string kept;
    std::getline(precious, kept);
    EXPECT_EQ(kept, "keep me");
    std::ifstream erreurs("erreurs");
    std::string said;
    std::getline(erreurs, said);
    EXPECT_NE(said.find("precious"), std::string::npos) << said;
}

TEST_F(RobotOnTheLine, SafeModeFallsBackToPassiveOnACliffAWheelDropOrTheDock)
{
    emulator::RobotOptions cliff;
    cliff.start = Pose{1500, 1000, 90};
    cliff.cliff = emulator::Cliff{true, 1500, 1400, 200};
    Begin(cliff);
    Send({128, 131, 146, 0, 200, 0, 200}, 146);
    ASSERT_TRUE(Eventually([&] { return robot_->CurrentMode() == emulator::Mode::Passive; }));
    const Pose stopped = robot_->CurrentPose();
    // The front reached the hole's near edge, the centre stayed a body's radius short.
    EXPECT_NEAR(stopped.yMm, 1300.0 - RobotBody::kRadiusMm, 10.0);
    Send({146, 0, 200, 0, 200}, 146, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_DOUBLE_EQ(robot_->CurrentPose().yMm, stopped.yMm) << "passive, drive commands are ignored";
    TearDown();

    emulator::RobotOptions drop;
    drop.faults.wheelDropAfterMs = 100;
    Begin(drop);
    Send({128, 131}, 131);
    EXPECT_TRUE(Eventually([&] { return robot_->CurrentMode() == emulator::Mode::Passive; }));
    TearDown();

    emulator::RobotOptions dock;
    dock.docked = true;
    Begin(dock);
    Send({128, 131, 142, 34}, 142);
    EXPECT_TRUE(Eventually([&] { return robot_->CurrentMode() == emulator::Mode::Passive; }));
}

TEST_F(RobotOnTheLine, TheBatteryDrainsFasterWhileDriving)
{
    emulator::RobotOptions options;
    options.drivingCurrentMa = 3.6e6;  // one mAh a millisecond at full speed: visible at once
    Begin(options);
    const double full = robot_->BatteryChargeMah();
    Send({128, 131}, 131);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const double idle = full - robot_->BatteryChargeMah();
    EXPECT_LT(idle, 1.0);
    Send({146, 0, 255, 0, 255}, 146);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Send({146, 0, 0, 0, 0}, 146, 2);
    EXPECT_GT(full - robot_->BatteryChargeMah(), 20.0);
}

TEST_F(RobotOnTheLine, AStreamTooLongForTheCountByteIsIgnored)
{
    Begin();
    // 100 packets of two bytes: 300 payload bytes, more than a count byte can say.
    Bytes request{128, 148, 100};
    for (int i = 0; i < 100; ++i) request.push_back(43);
    Send(request, 148);
    EXPECT_FALSE(robot_->Streaming());
    EXPECT_TRUE(Listen(100).empty());
}

TEST_F(RobotOnTheLine, MutedItStillTakesCommandsUnpluggedItHangsTheLineUp)
{
    Begin();
    Send({128, 131, 148, 1, 43}, 148);
    ASSERT_TRUE(robot_->WaitForFrames(2, 5000));
    robot_->Mute(true);
    const std::size_t written = FrameBytes();
    EXPECT_EQ(Take(written).size(), written);
    EXPECT_TRUE(Listen(100).empty()) << "a frame after the mute";
    Send({146, 0, 100, 0, 100}, 146);
    robot_->Unplug();
    int count = 0;
    unsigned char byte;
    EXPECT_TRUE(Eventually([&] { return ReadCOM(&byte, 1, &count) == 0; })) << "the hang-up is seen";
}

TEST(RobotTimeline, RepeatedCommandsMakeOneLineAndASilenceBreaksTheFrames)
{
    const std::vector<Command> commands{{128, {}, 3},
                                        {146, {0, 0, 0, 0}, 4},
                                        {146, {0, 0, 0, 0}, 19},
                                        {146, {0, 40, 255, 216}, 34},
                                        {146, {0, 0, 0, 0}, 49}};
    std::vector<emulator::SentFrame> frames;
    for (int at : {18, 33, 48, 260, 275}) frames.push_back({{19, 0, 237}, at != 275, at});
    EXPECT_EQ(emulator::FormatTimeline(commands, frames, 45), "robot timeline, ms since its start\n"
                                                              "  commands received:\n"
                                                              "    3  128\n"
                                                              "    4  146 [0 0 0 0]  x2 until 19\n"
                                                              "    34  146 [0 40 255 216]\n"
                                                              "    49  146 [0 0 0 0]\n"
                                                              "  frames sent:\n"
                                                              "    18  x3 until 48, then nothing for 212 ms\n"
                                                              "    260  x2 until 275 (1 not intact)\n");
}

TEST(RobotBody, EncodersCanStartAnywhere)
{
    RobotBody body(3000, 3000, Pose{1500, 1500, 90});
    body.SetEncoderCounts(65530, 7);
    body.SetWheelSpeeds(100, 100);
    body.Step(0.1);
    EXPECT_EQ(body.EncoderCount(Wheel::Left), (65530 + static_cast<int>(10 * kCountsPerMm)) % 65536);
    EXPECT_EQ(body.EncoderCount(Wheel::Right), 7 + static_cast<int>(10 * kCountsPerMm));
}

TEST(TrundelRobotProgram, HelpAndVersionAreNoError)
{
    for (const char* option : {"--help", "--version"}) {
        const std::string command = std::string("'") + TRUNDEL_ROBOT_PROGRAMME + "' " + option + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << option;
        EXPECT_EQ(WEXITSTATUS(status), 0) << option;
    }
}

}  // namespace
