#include <fstream>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/DesktopOptions.h"
#include "common/CommandLineValues.h"
#include "world/InferenceFile.h"

namespace {

TEST(DesktopOptionsTest, NoArgumentSetsNothing)
{
    const DesktopOptions options = ParseDesktopOptions({});
    EXPECT_FALSE(options.table);
    EXPECT_FALSE(options.seed);
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(options.version);
    EXPECT_TRUE(ParseDesktopOptions({"--version"}).version);
}

TEST(DesktopOptionsTest, TableAndSeedInEitherOrderAsTheRunnerReadsThem)
{
    QTemporaryDir directory;
    const std::string path = directory.filePath("t.ifi").toStdString();
    const InferenceTable table = {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}};
    ASSERT_TRUE(SaveInferenceFile(path, table));
    for (const auto& arguments : {std::vector<std::string>{path, "--seed", "0xFFFFFFFFFFFFFFFF"},
                                  std::vector<std::string>{"--seed", "18446744073709551615", path}}) {
        const DesktopOptions options = ParseDesktopOptions(arguments);
        ASSERT_TRUE(options.table && options.seed);
        EXPECT_EQ(options.table->speeds[7], 16.0);
        EXPECT_EQ(*options.seed, 0xFFFFFFFFFFFFFFFFu);
    }
}

TEST(DesktopOptionsTest, RefusesWhatItCannotActOn)
{
    QTemporaryDir directory;
    const std::string shortTable = directory.filePath("short.ifi").toStdString();
    {
        std::ofstream file(shortTable);
        file << "1 2 3\n";
    }
    const std::vector<std::vector<std::string>> refused = {
        {"--seed"},       {"--seed", "12x"},
        {"--speed", "3"}, {directory.filePath("none.ifi").toStdString()},
        {shortTable},     {directory.filePath("a.ifi").toStdString(), "b.ifi"}};
    for (const auto& arguments : refused) EXPECT_THROW(ParseDesktopOptions(arguments), UsageError) << arguments.front();
}

}  // namespace
