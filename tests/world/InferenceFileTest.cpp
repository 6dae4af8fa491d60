#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

#include "FullDisk.h"
#include "ScratchFolder.h"
#include "world/InferenceFile.h"

namespace {

class InferenceFileTest : public ScratchFolderTest {
protected:
    static InferenceTable Sample()
    {
        InferenceTable table;
        for (int k = 0; k < 8; ++k) {
            table.angles[k] = -30.0 + 7.25 * k;
            table.speeds[k] = 1.23456789 + k;
        }
        return table;
    }
};

// Restores the process locale however the test ends.
struct ProcessLocale {
    explicit ProcessLocale(const char* name)
        : previous(std::setlocale(LC_ALL, nullptr)), active(std::setlocale(LC_ALL, name) != nullptr)
    {
    }
    ~ProcessLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    std::string previous;
    bool active;
};

}  // namespace

TEST_F(InferenceFileTest, FreshTableIsEightLinesOfZeros)
{
    const std::string path = PathOf("zero.ifi");
    ASSERT_TRUE(SaveInferenceFile(path, InferenceTable{}));
    std::string expected;
    for (int k = 0; k < 8; ++k) expected += "0.000000 0.000000\n";
    EXPECT_EQ(Read(path), expected);
}

TEST_F(InferenceFileTest, RoundTripKeepsSixDecimalsEvenUnderACommaLocale)
{
    ProcessLocale french("fr_FR.UTF-8");
    if (!french.active) GTEST_SKIP() << "fr_FR.UTF-8 not installed";
    const std::string path = PathOf("sample.ifi");
    ASSERT_TRUE(SaveInferenceFile(path, Sample()));
    EXPECT_EQ(Read(path).substr(0, 21), "-30.000000 1.234568\n-");

    InferenceTable loaded;
    EXPECT_EQ(LoadInferenceFile(path, loaded), 16);
    EXPECT_EQ(loaded.speeds[0], 1.234568);
    EXPECT_EQ(loaded.angles[2], -15.5);
    EXPECT_EQ(loaded.speeds[7], 8.234568);
}

TEST_F(InferenceFileTest, AnyWhiteSpaceSeparatesAndTrailingTextIsIgnored)
{
    const std::string path = Write("flat.ifi", "1\t2 3\r\n4 5 6 7 8 9 10 11 12 13 14 15 16 garbage\n");
    InferenceTable table;
    EXPECT_EQ(LoadInferenceFile(path, table), 16);
    EXPECT_EQ(table.angles[0], 1);
    EXPECT_EQ(table.speeds[1], 4);
    EXPECT_EQ(table.speeds[7], 16);
}

TEST_F(InferenceFileTest, AFailedSaveLeavesThePreviousFileByteForByte)
{
    const std::string previous = "10 1\n20 2\n";
    const std::string path = Write("keep.ifi", previous);
    // Before, the file was emptied by the open and the full disk then kept it at 0 bytes.
    EXPECT_EQ(UnderAFullDisk([&] { return SaveInferenceFile(path, Sample()) ? 1 : 0; }), 0);
    EXPECT_EQ(Read(path), previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_directory), {}), 1) << "a temporary was left";
}

TEST_F(InferenceFileTest, BytesThatAreNotTextRefuseTheWholeFileWithTheirLine)
{
    const std::string sixteen = "1 2\n3 4\n5 6\n7 8\n9 10\n11 12\n13 14\n15 16";
    const struct {
        std::string text;
        int line;
    } cases[] = {
        {sixteen + std::string(1, '\0') + "garbage", 8},  // after the sixteenth number too
        {"1 2\n3" + std::string(1, '\0') + " 4\n", 2},
        {sixteen + "\n\n\x01", 10},
        {"\x7f" + sixteen, 1},
    };
    for (const auto& c : cases) {
        InferenceTable table = Sample();
        int line = 0;
        EXPECT_EQ(LoadInferenceFile(Write("binary.ifi", c.text), table, &line), kInferenceFileNotText);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(table.angles[0], Sample().angles[0]) << "the table must stay untouched";
    }
    // Tabs and both line ends are text.
    InferenceTable table;
    EXPECT_EQ(LoadInferenceFile(Write("text.ifi", "1\t2\r\n" + sixteen.substr(4)), table), 16);
}

TEST_F(InferenceFileTest, AShortFileFillsOnlyTheLeadingEntries)
{
    InferenceTable table = Sample();
    EXPECT_EQ(LoadInferenceFile(Write("angles.ifi", "1 2 3 4 5 6 7 8\n"), table), 8);
    EXPECT_EQ(table.speeds[3], 8);
    EXPECT_EQ(table.angles[4], Sample().angles[4]);

    table = Sample();
    EXPECT_EQ(LoadInferenceFile(Write("word.ifi", "1 2 3 oops 5\n"), table), 3);
    EXPECT_EQ(table.angles[1], 3);
    EXPECT_EQ(table.speeds[1], Sample().speeds[1]);
}

TEST_F(InferenceFileTest, FailuresAreReported)
{
    InferenceTable table = Sample();
    EXPECT_EQ(LoadInferenceFile(PathOf("missing.ifi"), table), -1);
    EXPECT_EQ(LoadInferenceFile("", table), -1);
    EXPECT_EQ(table.angles[0], Sample().angles[0]);

    EXPECT_FALSE(SaveInferenceFile(PathOf("no/such/folder.ifi"), table));
    EXPECT_FALSE(SaveInferenceFile(PathOf(""), table)) << "a folder is not a file";
    if (std::FILE* full = std::fopen("/dev/full", "w")) {
        std::fclose(full);
        EXPECT_FALSE(SaveInferenceFile("/dev/full", table)) << "a write that fails is not a save";
    }
}
