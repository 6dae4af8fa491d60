// trundel-robot as a user runs it: a room from a file or refused, and what it reports at
// exit, in its report file and on its error output.
#include "LinkTestSupport.h"
#include "RS232.h"
#include "RobotProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <utility>
#include <vector>

namespace {

TEST(TrundelRobotRoom, AFaultyRoomOrStartIsRefusedWithItsReasonAndCode2)
{
    link_test::ScratchDirectory scratch;
    std::ofstream("piece.txt") << "room 3000 3000\n# fine so far\nbox 1500 1500 400 400 10\nstart 1500 1500 0\n";
    const struct {
        std::vector<std::string> arguments;
        std::string said;
    } refusals[] = {
        {{"--room", "piece.txt"}, "piece.txt:4: the robot's body"},
        {{"--room", "missing.txt"}, "missing.txt: No such file or directory"},
        {{"--room", "300x3000"}, "--room 300x3000: each side must be above 400 mm"},
        {{"--room", "3000x3000", "--start", "100,1500,0"}, "start pose 100,1500,0: the robot's body would overlap"},
        {{"--room", TRUNDEL_ROOMS "/living-room.txt", "--start", "2500,3500,0"}, "start pose 2500,3500,0"},
        {{"--start", "1500,1500,nan"}, "start pose 1500,1500,nan: the heading must be within 3600 degrees"},
        {{"--start", "inf,1500,0"}, "start pose inf,1500,0: the robot's body would overlap"},
    };
    for (const auto& refusal : refusals) {
        RobotProgram program(refusal.arguments);
        EXPECT_EQ(program.End(), 2) << refusal.said;
        EXPECT_EQ(Contents("sortie"), "") << "no terminal is opened for a refused room";
        EXPECT_NE(Contents("erreurs").find(refusal.said), std::string::npos) << Contents("erreurs");
    }
}

TEST(TrundelRobotRoom, TheReportSaysWhatTheRobotDidAndTheSummarySaysTheSame)
{
    link_test::ScratchDirectory scratch;
    // Heading for the sofa from a metre away: it drives into it and stays pressed.
    RobotProgram program(
        {"--room", TRUNDEL_ROOMS "/living-room.txt", "--start", "2500,2300,90", "--report", "rapport.txt"});
    const std::string device = program.Device();
    ASSERT_FALSE(device.empty()) << Contents("erreurs");
    ASSERT_EQ(OpenCOMDevice(device.c_str()), 1);
    unsigned char drive[] = {128, 131, 146, 0, 255, 0, 255};
    int written = 0;
    ASSERT_EQ(WriteCOM(drive, sizeof drive, &written), 1);
    // Asks for the bumpers (packet 7) until they are pressed: on its own clock the robot
    // needs 1.4 s to reach the sofa, on a loaded machine longer.
    unsigned bumps = 0;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (bumps == 0 && std::chrono::steady_clock::now() < limit) {
        unsigned char query[] = {142, 7};
        ASSERT_EQ(WriteCOM(query, sizeof query, &written), 1);
        unsigned char answer = 0;
        int got = 0;
        for (int i = 0; i < 100 && got == 0; ++i) ReadCOM(&answer, 1, &got);
        bumps = answer & 3u;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    CloseCOM();
    EXPECT_EQ(bumps, 3u) << "the sofa straight ahead presses both halves";
    ASSERT_EQ(program.End(SIGINT), 0) << Contents("erreurs");

    std::istringstream report(Contents("rapport.txt"));
    std::vector<std::string> keys;
    std::map<std::string, double> values;
    std::string key;
    double value;
    while (report >> key >> value) {
        keys.push_back(key);
        values[key] = value;
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"seconds", "distance_mm", "contacts", "min_clearance_mm", "frames",
                                              "commands"}));
    EXPECT_GT(values["seconds"], 1.3);
    // From y = 2300 to the sofa's front at 3150, less the body's radius.
    EXPECT_NEAR(values["distance_mm"], 3150 - 170 - 2300, 1.0);
    EXPECT_EQ(values["contacts"], 1);
    EXPECT_EQ(values["min_clearance_mm"], 0);
    EXPECT_EQ(values["frames"], 0) << "no stream was asked for";
    const double commands = values["commands"];
    EXPECT_GE(commands, 4) << "Start, Safe, Drive PWM and the queries";
    const std::string summary = Contents("erreurs");
    EXPECT_NE(summary.find(std::to_string(static_cast<int>(commands)) + " commands received, 0 frames sent"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("680.0 mm driven, 1 contacts, closest 0.0 mm"), std::string::npos) << summary;
}

}  // namespace
