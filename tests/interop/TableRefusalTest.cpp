#include "TableFileFixture.h"

namespace {

class TableRefusalTest : public TableFileFixture {};

}  // namespace

TEST_F(TableRefusalTest, EnginesOfAnotherShapeAreRefusedWithTheirReason)
{
    EXPECT_NE(ExpectRefused("ramp.fll", Edited("Ramp 20.027756377319946", "Ramp 20.03")).english.find("ramp"),
              std::string::npos);
    EXPECT_NE(ExpectRefused("min.fll", Edited("conjunction: AlgebraicProduct", "conjunction: Minimum"))
                  .english.find("AlgebraicProduct"),
              std::string::npos);
    EXPECT_NE(ExpectRefused("average.fll", Edited("WeightedSum", "WeightedAverage")).english.find("WeightedSum"),
              std::string::npos);
    EXPECT_NE(ExpectRefused("hedge.fll", Edited("if left is blocked", "if left is very blocked")).english.find("rule"),
              std::string::npos);
    EXPECT_NE(
        ExpectRefused("swapped.fll", Edited("then angle is S1 and speed is S1", "then angle is S2 and speed is S1"))
            .english.find("rule"),
        std::string::npos);
    EXPECT_NE(ExpectRefused("or.fll", Edited("blocked and front", "blocked or front")).english.find("rule"),
              std::string::npos);
    const std::string lastRule =
        "  rule: if left is free and front is free and right is free then angle is S8 and speed is S8";
    EXPECT_NE(ExpectRefused("seven.fll", Edited(lastRule, "")).english.find("eight rules"), std::string::npos);
    EXPECT_NE(
        ExpectRefused("renamed.fll", Edited("InputVariable: front", "InputVariable: ahead")).english.find("front"),
        std::string::npos);
    EXPECT_NE(ExpectRefused("gauss.fll", Edited("term: free Ramp", "term: free Gaussian")).english.find("terms"),
              std::string::npos);
    EXPECT_NE(ExpectRefused("locked.fll", Edited("lock-range: false\n  aggregation", "lock-range: true\n  aggregation"))
                  .english.find("locked"),
              std::string::npos);
    EXPECT_NE(ExpectRefused("nine.fll", Edited("term: S4 Constant", "term: S9 Constant 0\n  term: S4 Constant"))
                  .english.find("eight terms"),
              std::string::npos);
    EXPECT_NE(
        ExpectRefused("nan.fll", Edited("term: S4 Constant -5.5", "term: S4 Constant nan")).english.find("finite"),
        std::string::npos);
}

TEST_F(TableRefusalTest, FilesThatAreNoEngineAreRefused)
{
    ExpectRefused("empty.fll", "");
    ExpectRefused("garbage.fis", "[System]\nName='x'\nNumInputs=banana\n");
    ExpectRefused("binary.fll", std::string("\x00\xff\x13 Engine", 10));
    ExpectRefused("written-only.fcl", "FUNCTION_BLOCK Marlune\nEND_FUNCTION_BLOCK\n");
    ExpectRefused("short.ifi", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n");
    ExpectRefused("infinite.ifi", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 inf\n");

    InferenceTable table = m_kept;
    TableRefusal refusal;
    EXPECT_FALSE(LoadTableFile(PathOf("absent.fis"), table, refusal));
    EXPECT_NE(refusal.french.find("Impossible de lire"), std::string::npos) << refusal.french;
}

TEST_F(TableRefusalTest, AnyOtherNameIsReadAsAnIfiTable)
{
    InferenceTable table;
    TableRefusal refusal;
    ASSERT_TRUE(LoadTableFile(Write("table.txt", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n"), table, refusal))
        << refusal.english;
    EXPECT_EQ(table.angles[7], 15);
    EXPECT_EQ(table.speeds[7], 16);
}

TEST_F(TableRefusalTest, ExportRefusesUnknownFormatsAndMissingFolders)
{
    TableRefusal refusal;
    EXPECT_FALSE(ExportTableFile(PathOf("table.ifi"), m_exported, refusal));
    EXPECT_NE(refusal.english.find(".fll, .fis or .fcl"), std::string::npos) << refusal.english;
    EXPECT_FALSE(ExportTableFile(PathOf("no/such/folder/table.fll"), m_exported, refusal));
    EXPECT_NE(refusal.french.find("Impossible d'écrire"), std::string::npos) << refusal.french;
}
