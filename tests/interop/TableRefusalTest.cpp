#include <gtest/gtest.h>

#include "../world/ScratchFolder.h"
#include "TableFiles.h"

namespace {

class TableRefusalTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            m_exported.angles[k] = 10.0 * k - 35.5;
            m_exported.speeds[k] = 0.25 * k + 0.5;
        }
        TableRefusal refusal;
        ASSERT_TRUE(ExportTableFile(PathOf("good.fll"), m_exported, refusal)) << refusal.english;
        m_fll = Read(PathOf("good.fll"));
        for (int k = 0; k < InferenceTable::kSituations; ++k) m_kept.angles[k] = m_kept.speeds[k] = 99.0 + k;
    }

    // The exported text with its first `from` replaced by `to`.
    std::string Edited(const std::string& from, const std::string& to) const
    {
        std::string text = m_fll;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    // Loads the text as `name`, expects a refusal that leaves the table alone, and returns it.
    TableRefusal ExpectRefused(const std::string& name, const std::string& text)
    {
        InferenceTable table = m_kept;
        TableRefusal refusal;
        EXPECT_FALSE(LoadTableFile(Write(name, text), table, refusal)) << name;
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            EXPECT_EQ(table.angles[k], m_kept.angles[k]) << name;
            EXPECT_EQ(table.speeds[k], m_kept.speeds[k]) << name;
        }
        EXPECT_NE(refusal.french.find(name), std::string::npos) << refusal.french;
        EXPECT_NE(refusal.english.find(name), std::string::npos) << refusal.english;
        return refusal;
    }

    InferenceTable m_exported, m_kept;
    std::string m_fll;
};

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
