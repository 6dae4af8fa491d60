// The reception thread against the emulated robot: start handshake, the event on every
// pass, the trajectory log, and whole frames for the readers of the table.
#include "EmulatedRobot.h"
#include "LectureID.h"
#include "LinkTestSupport.h"
#include "RS232.h"
#include "iRobotSpecification.h"
#include "thread.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

using link_test::Bytes;

namespace {

struct LogLine {
    int time;
    unsigned left;
    unsigned right;
};

std::vector<LogLine> ReadLog(std::string& raw)
{
    std::ifstream in("Parcours_CodeBlocks.txt");
    std::stringstream all;
    all << in.rdbuf();
    raw = all.str();
    std::vector<LogLine> lines;
    std::istringstream text(raw);
    LogLine line{};
    while (text >> line.time >> line.left >> line.right) lines.push_back(line);
    return lines;
}

// The encoder counts carried by each intact frame the robot sent, in order.
std::vector<std::pair<unsigned, unsigned>> IntactEncoders(const emulator::EmulatedRobot& robot)
{
    std::vector<std::pair<unsigned, unsigned>> counts;
    for (const emulator::SentFrame& frame : robot.SentFrames()) {
        if (!frame.intact) continue;
        const Bytes& b = frame.bytes;  // 19, N, 43, hi, lo, 44, hi, lo, ...
        counts.emplace_back(b[3] * 256u + b[4], b[6] * 256u + b[7]);
    }
    return counts;
}

class ReceptionTest : public ::testing::Test {
protected:
    void Begin(const emulator::RobotOptions& options)
    {
        robot_ = std::make_unique<emulator::EmulatedRobot>(options);
        ASSERT_TRUE(robot_->Start()) << robot_->LastError();
        ASSERT_EQ(OpenCOMDevice(robot_->DevicePath().c_str()), 1);
        InitTableauID();
        testing::internal::CaptureStdout();
        CreateThreadsRX();
        started_ = testing::internal::GetCapturedStdout();
    }
    // Starts the robot driving straight and streaming the controller's six packets.
    void Stream()
    {
        InitRobot();
        unsigned ids[6] = {43, 44, 47, 48, 49, 50};
        ::Stream(6, ids);
        DrivePWM(120, 120);
    }
    // Pauses the stream and lets the thread take what is still on the line.
    void Drain()
    {
        StreamMarcheArret(0);
        ASSERT_TRUE(robot_->WaitForCommand(150, 5000));
        const auto intact = IntactEncoders(*robot_).size();
        for (int i = 0; i < 500 && CompteursReception().acceptees < intact; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void TearDown() override
    {
        ArreterThreadRX();
        CloseCOM();
        FreeThreadsRX();
        if (robot_) robot_->Stop();
    }

    link_test::ScratchDirectory scratch_;
    std::unique_ptr<emulator::EmulatedRobot> robot_;
    std::string started_;
};

TEST_F(ReceptionTest, StartsOnlyOnceReadyAndSignalsEveryPassOfASilentRobot)
{
    emulator::RobotOptions options;
    options.faults.silent = true;
    Begin(options);
    EXPECT_EQ(started_, "Thread RX created...\n");
    std::ifstream log("Parcours_CodeBlocks.txt");
    EXPECT_TRUE(log.good()) << "the log exists once the thread is ready";

    Stream();
    for (int pass = 0; pass < 50; ++pass) ASSERT_TRUE(hEvent_RX.WaitFor(2000)) << pass;
    ArreterThreadRX();
    std::string raw;
    EXPECT_TRUE(ReadLog(raw).empty());
    EXPECT_EQ(CompteursReception().acceptees, 0u);
}

TEST_F(ReceptionTest, LogsEveryIntactFrameOnceAndNoCorruptOne)
{
    emulator::RobotOptions options;
    options.faults.splitFrames = true;
    options.faults.noise = true;
    options.faults.corruptEvery = 3;
    options.seed = 7;
    Begin(options);
    Stream();
    ASSERT_TRUE(robot_->WaitForFrames(60, 20000));
    Drain();
    ArreterThreadRX();
    FreeThreadsRX();

    std::string raw;
    const std::vector<LogLine> lines = ReadLog(raw);
    const auto intact = IntactEncoders(*robot_);
    ASSERT_EQ(lines.size(), intact.size());
    int previous = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(std::make_pair(lines[i].left, lines[i].right), intact[i]) << "line " << i;
        EXPECT_GE(lines[i].time, previous);
        previous = lines[i].time;
    }
    EXPECT_TRUE(std::regex_match(raw, std::regex("( [ 0-9]{6} [ 0-9]{6} [ 0-9]{6}\n)+")));
    EXPECT_GT(CompteursReception().refusees, 0u);
}

TEST_F(ReceptionTest, ReadersNeverSeeEncoderCountsFromTwoFrames)
{
    Begin({});
    Stream();  // both wheels at one duty: the two counts are equal in every frame
    ASSERT_TRUE(robot_->WaitForFrames(2, 5000));
    std::atomic<bool> torn{false};
    // Reads on while frames keep arriving, which is when a torn read would show, however
    // slowly a busy machine lets them come.
    const unsigned long until = CompteursReception().acceptees + 20;
    std::thread reader([&] {
        dataSensor table[64];
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!torn && CompteursReception().acceptees < until && std::chrono::steady_clock::now() < end) {
            LireTableDonnees(table);
            torn = ValeurPaquet(table, 43) != ValeurPaquet(table, 44);
        }
    });
    reader.join();
    EXPECT_FALSE(torn);
    EXPECT_GE(CompteursReception().acceptees, until);
}

TEST_F(ReceptionTest, ALogThatCannotBeCreatedIsSaidAndReceptionGoesOn)
{
    ASSERT_EQ(::mkdir("Parcours_CodeBlocks.txt", 0755), 0);  // a directory where the log should be
    Begin({});
    EXPECT_NE(started_.find("Parcours_CodeBlocks.txt"), std::string::npos);
    EXPECT_NE(started_.find("Thread RX created...\n"), std::string::npos);
    EXPECT_EQ(fichier, nullptr);
    Stream();
    ASSERT_TRUE(robot_->WaitForFrames(5, 5000));
    for (int i = 0; i < 500 && CompteursReception().acceptees == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(CompteursReception().acceptees, 0u);
}

TEST_F(ReceptionTest, EachStartEmptiesTheLogAndStoppingTwiceIsHarmless)
{
    Begin({});
    Stream();
    ASSERT_TRUE(robot_->WaitForFrames(5, 5000));
    Drain();
    FreeThreadsRX();
    std::string raw;
    ASSERT_FALSE(ReadLog(raw).empty());

    testing::internal::CaptureStdout();
    CreateThreadsRX();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ReadLog(raw).empty());
    ArreterThreadRX();
    ArreterThreadRX();
    FreeThreadsRX();
    FreeThreadsRX();
}

TEST_F(ReceptionTest, StartingAgainWithoutStoppingLeavesNoLogOpen)
{
    auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator{});
    };
    Begin({});
    const auto before = openFiles();
    testing::internal::CaptureStdout();
    CreateThreadsRX();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(openFiles(), before);
}

}  // namespace
