#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <opencv2/imgcodecs.hpp>
#include <sstream>
#include <thread>

#include "../controller/SpawnProgram.h"
#include "../world/ScratchFolder.h"
#include "interop/TableFiles.h"
#include "tuner/ScoreRun.h"
#include "world/InferenceFile.h"

namespace {

namespace fs = std::filesystem;

struct ScoreCall {
    int code;
    std::string out;
    std::string err;
};

ScoreCall CallScore(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    const int code = RunScore(arguments, out, err);
    return {code, out.str(), err.str()};
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Tables in a scratch folder: one that drives round its arena along the wall, one that stands still
// (no collision, no speed, score 0), one that drives blindly into the walls (it moves a little before
// it leaves: a score just above 0) and one file that is no table.
struct ClassTables {
    ScratchFolder dir;
    std::string mover = (dir.path / "mover.ifi").string();
    std::string still = (dir.path / "still.ifi").string();
    std::string blind = (dir.path / "blind.ifi").string();
    std::string broken = (dir.path / "broken.ifi").string();

    ClassTables()
    {
        std::ofstream(mover) << "-22.033517 2.305127\n-89.022704 2.760115\n-66.874781 1.287989\n-9.963365 0.342361\n"
                                "81.512951 0.295633\n70.548840 1.949778\n0.841349 2.900177\n20.972308 1.713497\n";
        std::ofstream(still) << "0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n";
        std::ofstream(blind) << "0 3\n0 3\n0 3\n0 3\n0 3\n0 3\n0 3\n0 3\n";
        std::ofstream(broken) << "10 1\n20 2\n";
    }
};

// The order of the names in the printed rows.
std::vector<std::string> RowNames(const std::string& out, const std::vector<std::string>& names)
{
    std::vector<std::pair<std::size_t, std::string>> found;
    for (const std::string& name : names)
        if (out.find(name) != std::string::npos) found.emplace_back(out.find(name), name);
    std::sort(found.begin(), found.end());
    std::vector<std::string> order;
    for (const auto& [at, name] : found) order.push_back(name);
    return order;
}

}  // namespace

TEST(ScoreProgram, RowsBestFirstAndAnUnreadableTableLastWhileTheOthersRun)
{
    ClassTables tables;
    const ScoreCall call = CallScore({tables.broken, tables.blind, tables.still, "--seeds", "1-3", "--passes", "300"});
    EXPECT_EQ(call.code, 1) << call.out << call.err;
    EXPECT_EQ(RowNames(call.out, {tables.blind, tables.still, tables.broken}),
              (std::vector<std::string>{tables.blind, tables.still, tables.broken}))
        << call.out;
    EXPECT_NE(call.out.find("cannot be read: '" + tables.broken + "' holds 4 readable numbers"), std::string::npos)
        << call.out;
    EXPECT_NE(call.out.find("2     " + tables.still + "   0.0000   0.00 [0.00, 0.00]"), std::string::npos) << call.out;

    const ScoreCall allRead = CallScore({tables.still, "--seeds", "1-1", "--passes", "10"});
    EXPECT_EQ(allRead.code, 0) << allRead.out << allRead.err;
    EXPECT_NE(allRead.out.find("one arena: no interval"), std::string::npos) << allRead.out;
}

TEST(ScoreProgram, RequireSetsTheExitCodeAndAMalformedOneStopsBeforeAnyRun)
{
    ClassTables tables;
    const std::vector<std::string> run{tables.still, tables.mover, "--seeds", "2-3", "--passes", "200"};
    auto with = [&](const std::string& requirement) {
        std::vector<std::string> arguments = run;
        arguments.insert(arguments.end(), {"--require", requirement});
        return CallScore(arguments);
    };
    const ScoreCall met = with("collisions <= 1000, speed >= 0");
    EXPECT_EQ(met.code, 0) << met.out << met.err;
    EXPECT_EQ(met.out.find("missed"), std::string::npos) << met.out;

    const ScoreCall missed = with("speed>0.1");
    EXPECT_EQ(missed.code, 1) << missed.out;
    EXPECT_NE(missed.out.find("missed (speed 0 <= 0.1)"), std::string::npos) << missed.out;

    for (const std::vector<std::string>& bad : {std::vector<std::string>{tables.still, "--require", "speed>fast"},
                                                std::vector<std::string>{tables.still, "--seeds", "3-1"},
                                                std::vector<std::string>{tables.still, "--passes", "-4"},
                                                std::vector<std::string>{tables.still, "--verbose"}}) {
        const ScoreCall refused = CallScore(bad);
        EXPECT_EQ(refused.code, 2) << bad[1];
        EXPECT_EQ(refused.out, "") << "refused before any run: " << refused.out;
        EXPECT_EQ(refused.err.find("marlune-score: "), 0u) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    }
}

TEST(ScoreProgram, AnEngineFileScoresAsItsTable)
{
    ClassTables tables;
    InferenceTable mover;
    ASSERT_EQ(LoadInferenceFile(tables.mover, mover), 16);
    const std::string engine = (tables.dir.path / "mover.fll").string();
    TableRefusal refusal;
    ASSERT_TRUE(ExportTableFile(engine, mover, refusal)) << refusal.english;
    const std::string csv = (tables.dir.path / "rows.csv").string();
    ASSERT_EQ(CallScore({tables.mover, engine, "--seeds", "5-6", "--passes", "300", "--csv", csv}).code, 0);
    std::istringstream lines(Read(csv));
    std::string header, first, second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.substr(first.find(',')), second.substr(second.find(','))) << first << "\n" << second;
}

TEST(ScoreProgram, WritesTheCsvAndAChartOfTheRows)
{
    ClassTables tables;
    const fs::path csv = tables.dir.path / "class.csv";
    const fs::path chart = tables.dir.path / "class.png";
    const ScoreCall call = CallScore({tables.mover, tables.still, tables.broken, "--seeds", "1-2", "--passes", "300",
                                      "--require", "coverage>=0", "--csv", csv.string(), "--chart", chart.string()});
    EXPECT_EQ(call.code, 1) << call.out << call.err;

    std::istringstream lines(Read(csv));
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u) << Read(csv);
    EXPECT_EQ(rows[0].rfind("table,score,collisions_per_1000_passes,", 0), 0u);
    for (const std::string& row : rows)
        EXPECT_EQ(std::count(row.begin(), row.end(), ','), 14 + (row == rows[3] ? 1 : 0)) << row;
    const std::string& still = rows[1].rfind(tables.still, 0) == 0 ? rows[1] : rows[2];
    EXPECT_EQ(still.rfind(tables.still + ",0,0,0,0,0,0,0,", 0), 0u) << still;
    EXPECT_NE(still.find(",2,0,met,"), std::string::npos) << still;
    EXPECT_NE(rows[3].find(",\"'" + tables.broken + "' holds 4 readable numbers, a table needs 16\""),
              std::string::npos)
        << rows[3];

    const cv::Mat image = cv::imread(chart.string());
    ASSERT_FALSE(image.empty());
    EXPECT_GE(image.cols, 800);
    EXPECT_LE(image.cols, 2000);
    EXPECT_GE(image.rows, 3 * 20);
    EXPECT_LE(image.rows, 400);
    // The collision bar of the mover is drawn in red, the speed bar in blue.
    cv::Mat red, blue;
    cv::inRange(image, cv::Scalar(50, 50, 210), cv::Scalar(70, 70, 230), red);
    cv::inRange(image, cv::Scalar(190, 120, 30), cv::Scalar(210, 140, 50), blue);
    EXPECT_GT(cv::countNonZero(red), 100);
    EXPECT_GT(cv::countNonZero(blue), 100);
}

TEST(ScoreProgram, OutputsAreCheckedBeforeTheRun)
{
    ClassTables tables;
    const std::string table = Read(tables.mover);
    const ScoreCall missingFolder =
        CallScore({tables.mover, "--csv", (tables.dir.path / "missing" / "r.csv").string()});
    EXPECT_EQ(missingFolder.code, 1);
    EXPECT_EQ(missingFolder.out, "") << "refused before the run";

    const ScoreCall overTable =
        CallScore({tables.still, tables.mover, "--chart", tables.mover + ".png", "--csv", tables.mover});
    EXPECT_EQ(overTable.code, 2);
    EXPECT_EQ(Read(tables.mover), table);
    const ScoreCall notAPicture = CallScore({tables.mover, "--chart", (tables.dir.path / "chart.xyz").string()});
    EXPECT_EQ(notAPicture.code, 2);
    EXPECT_NE(notAPicture.err.find("use a .png name"), std::string::npos) << notAPicture.err;
}

TEST(ScoreProgram, CtrlCPrintsTheRowsOfTheTablesFinished)
{
    ClassTables tables;
    const fs::path output = tables.dir.path / "out.txt";
    const fs::path csv = tables.dir.path / "stopped.csv";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // Far more runs than the test waits for.
    const pid_t pid = SpawnProgram(
        MARLUNE_SCORE_PATH,
        {tables.still, tables.mover, tables.mover, "--seeds", "1-100000", "--passes", "20000", "--csv", csv.string()},
        actions);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_GT(pid, 0);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Read(output).find("marlune-score: 3 tables") == std::string::npos &&
           std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(Read(output).find("marlune-score: 3 tables"), std::string::npos) << "the run never started";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << Read(output);
    EXPECT_EQ(WEXITSTATUS(status), 1);

    const std::string text = Read(output);
    const auto stopped = text.find("stopped by the user: ");
    ASSERT_NE(stopped, std::string::npos) << text;
    // However far the run got, the rows printed are the tables it says it finished.
    const int finished = text[stopped + 21] - '0';
    EXPECT_LT(finished, 3) << text;
    // The announcement, the headings, the rows, the stop and the CSV's line.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + finished) << text;
    const std::string rows = Read(csv);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 1 + finished) << rows;
}
