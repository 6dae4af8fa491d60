#include <gtest/gtest.h>

#include "tuner/ScoreOptions.h"
#include "tuner/ScoreRequirement.h"

namespace {

std::string RefusalOf(const std::string& requirement)
{
    try {
        ParseRequirement(requirement);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "";
}

std::string RefusalOfOptions(const std::vector<std::string>& arguments)
{
    try {
        ParseScoreOptions(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "";
}

}  // namespace

TEST(ScoreRequirement, ClausesWithBlanksAreReadAndJudgedAtTheirBounds)
{
    const auto requirement = ParseRequirement(" collisions<=1 ,\tcoverage >= 0.4,speed> 1.5 , speed<3");
    ASSERT_EQ(requirement.size(), 4u);
    EXPECT_EQ(requirement[0].measure, ScoreMeasure::Collisions);
    EXPECT_EQ(requirement[0].comparison, ScoreComparison::AtMost);
    EXPECT_EQ(requirement[1].bound, 0.4);
    EXPECT_EQ(requirement[2].comparison, ScoreComparison::Above);
    EXPECT_EQ(requirement[3].comparison, ScoreComparison::Below);

    EXPECT_TRUE(MissedClauses(requirement, {1.0, 2.0, 0.4}).empty()) << "<= and >= take their bound";
    const auto missed = MissedClauses(requirement, {1.5, 3.0, 0.39});
    ASSERT_EQ(missed.size(), 3u);
    EXPECT_EQ(missed[0], "collisions 1.5 > 1");
    EXPECT_EQ(missed[1], "coverage 0.39 < 0.4");
    EXPECT_EQ(missed[2], "speed 3 >= 3");
    EXPECT_EQ(MissedClauses(requirement, {0, 1.5, 1}).size(), 1u) << "> excludes its bound";
}

TEST(ScoreRequirement, MalformedTextIsRefusedNamingTheFault)
{
    EXPECT_NE(RefusalOf("").find("empty clause"), std::string::npos);
    EXPECT_NE(RefusalOf("collisions<=1,").find("empty clause"), std::string::npos);
    EXPECT_NE(RefusalOf("colisions<=1").find("unknown key 'colisions'"), std::string::npos);
    EXPECT_NE(RefusalOf("speed=2").find("no comparison"), std::string::npos);
    EXPECT_NE(RefusalOf("speed=>2").find("no comparison"), std::string::npos);
    EXPECT_NE(RefusalOf("speed<=").find("not a finite number"), std::string::npos);
    EXPECT_NE(RefusalOf("speed<=1e999").find("not a finite number"), std::string::npos);
    EXPECT_NE(RefusalOf("speed<=nan").find("not a finite number"), std::string::npos);
    EXPECT_NE(RefusalOf("speed<=2 3").find("not a finite number"), std::string::npos);
    EXPECT_NE(RefusalOf("speed<=\x1b[2J").find("\\x1b"), std::string::npos) << "a refusal quotes escaped";
    std::string many = "speed>0";
    for (int i = 1; i < 16; ++i) many += ",speed>0";
    EXPECT_EQ(RefusalOf(many), "");
    EXPECT_NE(RefusalOf(many + ",speed>0").find("more than 16 clauses"), std::string::npos);
    EXPECT_NE(RefusalOf("speed>0" + std::string(250, ' ')).find("longer than 256"), std::string::npos);
}

TEST(ScoreOptions, DefaultsAndEveryOptionAreRead)
{
    const ScoreOptions defaults = ParseScoreOptions({"a.ifi"});
    EXPECT_EQ(defaults.firstSeed, 1u);
    EXPECT_EQ(defaults.lastSeed, 30u);
    EXPECT_EQ(defaults.passes, 3000);
    EXPECT_FALSE(defaults.hasRequirement);
    EXPECT_EQ(ScoreSeeds(defaults).size(), 30u);

    const ScoreOptions options = ParseScoreOptions({"a.ifi", "--seeds", "7-9", "b.fll", "--passes", "2147483647",
                                                    "--csv", "r.csv", "--chart", "r.png", "--require", "speed>1"});
    EXPECT_EQ(options.tablePaths, (std::vector<std::string>{"a.ifi", "b.fll"}));
    EXPECT_EQ(ScoreSeeds(options), (std::vector<std::uint64_t>{7, 8, 9}));
    EXPECT_EQ(options.passes, 2147483647);
    EXPECT_EQ(options.csvPath, "r.csv");
    EXPECT_EQ(options.chartPath, "r.png");
    EXPECT_TRUE(options.hasRequirement);

    const ScoreOptions top = ParseScoreOptions({"a", "--seeds", "18446744073709551615-18446744073709551615"});
    EXPECT_EQ(ScoreSeeds(top), (std::vector<std::uint64_t>{18446744073709551615u})) << "the last seed does not wrap";
    EXPECT_EQ(ScoreSeeds(ParseScoreOptions({"a", "--seeds", "5-100004"})).size(), kMaxScoreArenas);
}

TEST(ScoreOptions, BadSeedsPassesAndArgumentsAreRefused)
{
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "5"}).find("FIRST-LAST"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "-1-3"}).find("FIRST-LAST"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "0x1-3"}).find("FIRST-LAST"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "1-2-3"}).find("FIRST-LAST"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "9-3"}).find("FIRST is above LAST"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "5-100005"}).find("at most 100000 arenas"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--seeds", "0-18446744073709551615"}).find("at most"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--passes", "0"}), "");
    EXPECT_NE(RefusalOfOptions({"a", "--passes", "2147483648"}).find("2147483647"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"a", "--passes"}), "");
    EXPECT_NE(RefusalOfOptions({"a", "--threads", "2"}).find("unknown option"), std::string::npos);
    EXPECT_NE(RefusalOfOptions({"--passes", "10"}).find("no table"), std::string::npos);
    EXPECT_EQ(RefusalOfOptions({"--help"}), "") << "help needs no table";
}
