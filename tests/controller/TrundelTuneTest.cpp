#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "DriveScore.h"
#include "DriveStarts.h"
#include "FloorCoverage.h"
#include "RobotBody.h"
#include "RoomFile.h"
#include "SimulatedDrive.h"
#include "SpawnProgram.h"
#include "TuneRun.h"
#include "WorkerProcesses.h"

namespace {

namespace fs = std::filesystem;

TableSituations Table(std::initializer_list<std::pair<int, int>> lines)
{
    TableSituations table{};
    int k = 0;
    for (const auto& [vitesse, angle] : lines) {
        table.vitesse[k] = vitesse;
        table.angle[k++] = angle;
    }
    return table;
}

emulator::Room LivingRoom()
{
    emulator::RoomDescription room;
    std::string error;
    EXPECT_TRUE(emulator::ReadRoomFile(TRUNDEL_ROOMS "/living-room.txt", room, error)) << error;
    return emulator::Room(room.widthMm, room.depthMm, room.furniture);
}

double Score(const TableSituations& table, const emulator::Room& room)
{
    DriveTotals totals;
    for (const emulator::Pose& start : {emulator::Pose{600, 2000, 0}, emulator::Pose{3500, 600, 135}})
        AddDrive(totals, SimulateDrive(table, room, start, 20));
    return DriveScore(totals, kDefaultContactWeight);
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct TuneCall {
    int code;
    std::string output;
};

TuneCall CallTune(const std::vector<std::string>& arguments)
{
    std::ostringstream output;
    const int code = RunTrundelTune(arguments, output, output);
    return {code, output.str()};
}

struct ScratchFolder {
    fs::path path;
    ScratchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "trundel-tune-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() { fs::remove_all(path); }
};

}  // namespace

TEST(TrundelTuneScore, AWandererBeatsATableThatStandsOrSpins)
{
    const emulator::Room room = LivingRoom();
    const TableSituations wanderer =
        Table({{150, 0}, {80, -45}, {80, 90}, {80, -90}, {80, 45}, {100, 0}, {80, 90}, {80, 150}});
    const TableSituations standing{};
    TableSituations spinner = wanderer;
    spinner.angle[0] = 90;  // turns on the spot whatever it sees
    // Straight on whatever it sees: it pushes into the first thing ahead.
    const TableSituations rammer =
        Table({{200, 0}, {200, 0}, {200, 0}, {200, 0}, {200, 0}, {200, 0}, {200, 0}, {200, 0}});

    const double wandering = Score(wanderer, room);
    EXPECT_GT(wandering, 0);
    EXPECT_LT(Score(standing, room), wandering);
    EXPECT_LT(Score(spinner, room), wandering);
    EXPECT_LT(Score(rammer, room), wandering);
}

TEST(TrundelTuneDrive, RunsTheControllersTurnsAndCountsWhatTheBodyDid)
{
    const emulator::Room bare(3000, 3000);
    // Straight at duty 255 (500 mm/s) for 2 s along the room's length: about a metre,
    // the first frame spent standing.
    const DriveFigures straight = SimulateDrive(Table({{255, 0}}), bare, emulator::Pose{300, 1500, 0}, 2);
    EXPECT_NEAR(straight.tally.distanceMm, 1000, 20);
    EXPECT_EQ(straight.tally.contacts, 0);
    EXPECT_EQ(straight.frames, 2000u / kFramePeriodMs + 1);

    // Nothing seen asks for a 90 degree turn: the controller spins until its encoders say
    // 90 degrees, stops, and starts the next one: the centre hardly moves, each turn
    // takes its frames, and many commands are sent.
    const DriveFigures spinning = SimulateDrive(Table({{100, 90}}), bare, emulator::Pose{1500, 1500, 0}, 5);
    EXPECT_LT(spinning.tally.distanceMm, 5);
    EXPECT_GT(spinning.commands, 10u);
    EXPECT_LT(spinning.commands, spinning.frames);
    EXPECT_LT(spinning.coverage, straight.coverage);
}

TEST(TrundelTuneStarts, DrawnClearOfEverythingTheSameForTheSameSeedAndRefusedInAFullRoom)
{
    const std::vector<emulator::Room> rooms{LivingRoom(), emulator::Room(1000, 800)};
    std::vector<DriveStart> starts, again, other;
    std::string error;
    ASSERT_TRUE(DrawDriveStarts(rooms, 6, 11, starts, error)) << error;
    ASSERT_TRUE(DrawDriveStarts(rooms, 6, 11, again, error)) << error;
    ASSERT_TRUE(DrawDriveStarts(rooms, 6, 12, other, error)) << error;
    ASSERT_EQ(starts.size(), 12u);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const DriveStart& start = starts[i];
        EXPECT_EQ(start.room, i < 6 ? 0 : 1);
        EXPECT_GE(rooms[static_cast<std::size_t>(start.room)].Clearance(start.pose.xMm, start.pose.yMm),
                  emulator::RobotBody::kRadiusMm + kStartClearanceMm);
        EXPECT_EQ(start.pose.xMm, again[i].pose.xMm);
        EXPECT_EQ(start.pose.headingDeg, again[i].pose.headingDeg);
    }
    EXPECT_NE(starts[0].pose.xMm, other[0].pose.xMm);

    // A box that leaves less than the body needs anywhere.
    const emulator::Room full(1000, 1000, emulator::Furniture{{emulator::Box{500, 500, 700, 700, 0}}, {}});
    EXPECT_FALSE(DrawDriveStarts({full}, 1, 1, starts, error));
    EXPECT_NE(error.find("pièce 1"), std::string::npos) << error;
}

TEST(TrundelTuneCoverage, CountsOnlyTheFloorTheBodyCanReach)
{
    // A 2 x 2 m room, a 500 mm cube in its middle: of the 64 cells only those whose centre
    // the body can stand on count (24: none along the walls, none beside the cube but the
    // four off its corners, 177 mm away), and crossing one twice counts once.
    const emulator::Room room(2000, 2000, emulator::Furniture{{emulator::Box{1000, 1000, 500, 500, 0}}, {}});
    FloorCoverage coverage(room);
    EXPECT_EQ(coverage.Share(), 0);
    coverage.Mark(375, 375);
    coverage.Mark(380, 370);
    const double one = coverage.Share();
    EXPECT_EQ(one, 1.0 / 24);
    coverage.Mark(-5, 100);   // outside: ignored
    coverage.Mark(5000, 10);  // outside: ignored
    EXPECT_EQ(coverage.Share(), one);
    coverage.Mark(1625, 1625);
    EXPECT_EQ(coverage.Share(), 2.0 / 24);
}

TEST(TrundelTuneWorkers, ResultsComeBackInItemOrderWhateverTheWorkers)
{
    const std::function<double(std::size_t)> square = [](std::size_t i) { return static_cast<double>(i * i) / 3; };
    std::vector<double> one, three;
    std::string error;
    ASSERT_TRUE(RunInWorkerProcesses(7, 1, square, one, nullptr, error)) << error;
    ASSERT_TRUE(RunInWorkerProcesses(7, 3, square, three, nullptr, error)) << error;
    ASSERT_EQ(one.size(), 7u);
    EXPECT_EQ(one, three);
    EXPECT_EQ(three[5], 25.0 / 3);

    const std::function<double(std::size_t)> dies = [](std::size_t i) {
        if (i == 2) std::_Exit(3);
        return 1.0;
    };
    std::vector<double> none;
    EXPECT_FALSE(RunInWorkerProcesses(4, 2, dies, none, nullptr, error));
    EXPECT_NE(error.find("processus d'évaluation"), std::string::npos) << error;
}

TEST(TrundelTuneProgram, TheSameSeedGivesTheSameTableWithOneOrTwoWorkersAndTrundelReadsIt)
{
    ScratchFolder dir;
    TableSituations tables[2];
    for (int workers : {1, 2}) {
        const fs::path out = dir.path / ("table" + std::to_string(workers) + ".txt");
        const TuneCall call =
            CallTune({"--seed", "7", "--population", "4", "--generations", "2", "--starts", "1", "--seconds", "5",
                      "--validation-starts", "1", "--workers", std::to_string(workers), "--out", out.string(),
                      "--report", (dir.path / "report.txt").string(), TRUNDEL_ROOMS "/chair-legs.txt"});
        ASSERT_EQ(call.code, 0) << call.output;
        std::string error;
        ASSERT_TRUE(LireTableSituations(out.c_str(), tables[workers - 1], error)) << error;
        EXPECT_NE(Read(dir.path / "report.txt").find("validation"), std::string::npos);
    }
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(tables[0].vitesse[k], tables[1].vitesse[k]) << k;
        EXPECT_EQ(tables[0].angle[k], tables[1].angle[k]) << k;
    }
    EXPECT_EQ(tables[0].angle[0], 0) << "nothing seen must drive straight";
}

TEST(TrundelTuneProgram, RefusesABadRoomOrTableWithCodeTwoAndWritesNothing)
{
    ScratchFolder dir;
    const fs::path room = dir.path / "room.txt";
    std::ofstream(room) << "room 3000 3000\nbox 1500 1500 400\n";
    const fs::path out = dir.path / "out.txt";
    const TuneCall badRoom = CallTune({"--out", out.string(), room.string()});
    EXPECT_EQ(badRoom.code, 2);
    EXPECT_NE(badRoom.output.find("room.txt:2:"), std::string::npos) << badRoom.output;

    const fs::path half = dir.path / "half.txt";
    std::ofstream(half) << "100 0\n";
    const TuneCall badTable =
        CallTune({"--start", half.string(), "--out", out.string(), TRUNDEL_ROOMS "/corridor.txt"});
    EXPECT_EQ(badTable.code, 2);
    EXPECT_EQ(CallTune({"--out", out.string()}).code, 2) << "no room";
    EXPECT_FALSE(fs::exists(out));
}

TEST(TrundelTuneProgram, CtrlCStillWritesTheBestTableSoFar)
{
    ScratchFolder dir;
    const fs::path table = dir.path / "stopped.txt";
    const fs::path output = dir.path / "output.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // Far more generations than the test waits for.
    const pid_t pid = SpawnProgram(TRUNDEL_TUNE_PROGRAMME,
                                   {"--population", "4", "--generations", "10000", "--starts", "1", "--seconds", "5",
                                    "--validation-starts", "1", "--workers", "2", "--out", table.string(),
                                    TRUNDEL_ROOMS "/corridor.txt"},
                                   actions);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_GT(pid, 0);
    // Its Ctrl-C handling is in place once it has announced its run.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Read(output).find("trundel-tune : graine") == std::string::npos && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << Read(output);
    EXPECT_EQ(WEXITSTATUS(status), 0) << Read(output);
    TableSituations written{};
    std::string error;
    EXPECT_TRUE(LireTableSituations(table.c_str(), written, error)) << error;
    EXPECT_NE(Read(output).find("arrêtée par Ctrl-C"), std::string::npos) << Read(output);
}
