// Files made to crash, freeze or swell the engine readers: each is refused before
// fuzzylite sees it, or, for a table padded with comments, read without holding them.
#include "TableFileFixture.h"

namespace {

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

class HostileTableFileTest : public TableFileFixture {
protected:
    void ExpectRefusedFor(const std::string& name, const std::string& text, const std::string& reason)
    {
        const TableRefusal refusal = ExpectRefused(name, text);
        EXPECT_NE(refusal.english.find(reason), std::string::npos) << refusal.english;
    }
};

const char kFirstRule[] = "rule: if left is blocked and ";

}  // namespace

TEST_F(HostileTableFileTest, LongChainsAndFormulasAreRefusedBeforeTheyAreParsed)
{
    // Once a stack overflow in the shape check, in fuzzylite's parser and in its destructor.
    ExpectRefusedFor("chain.fll", Edited(kFirstRule, "rule: if " + Repeated("left is blocked and ", 60000)),
                     "longer than 1024 bytes");
    ExpectRefusedFor("sum.fll", Edited("term: S1 Constant", "term: S1 Function " + Repeated("1+", 20000)),
                     "longer than 1024 bytes");
    const std::string ninthRule =
        "  rule: if " + Repeated("left is free and ", 400000) + "front is free then angle is S1 and speed is S1\n";
    ExpectRefusedFor("nine-rules.fll", m_fll + ninthRule, "longer than 1024 bytes");
    ExpectRefusedFor(
        "nested.fll",
        Edited("term: S1 Constant", "term: S1 Function " + Repeated("(", 17) + "1" + Repeated(")", 17) + "+"),
        "nests more than 16 parentheses");
    // As deep as allowed, fuzzylite reads it and the shape check refuses it.
    ExpectRefusedFor(
        "deep.fll",
        Edited("term: S1 Constant -35.5", "term: S1 Function " + Repeated("(", 16) + "1" + Repeated(")", 16)),
        "must be a finite Constant");
}

TEST_F(HostileTableFileTest, ManySectionsTermsOrRulesAreRefusedBeforeTheyAreParsed)
{
    // Once seconds of fuzzylite searching its inputs once per antecedent.
    std::string inputs = "[System]\nName='wide'\nType='sugeno'\nNumInputs=20000\nNumOutputs=1\nNumRules=1\n";
    for (int i = 1; i <= 20000; ++i)
        inputs += "[Input" + std::to_string(i) + "]\nName='in" + std::to_string(i) +
                  "'\nRange=[0 1]\nNumMFs=1\nMF1='a':'trimf',[0 0.5 1]\n";
    inputs += "[Output1]\nName='out'\nRange=[0 1]\nNumMFs=1\nMF1='c':'constant',[1]\n[Rules]\n" +
              Repeated("1 ", 20000) + ", 1 (1) : 1\n";
    ExpectRefusedFor("wide.fis", inputs, "more than 512 lines");

    ExpectRefusedFor("sections.fis", m_fis + Repeated("[Input]\n", 10), "more than 16 sections");
    ExpectRefusedFor("terms.fll",
                     Edited("term: S1 Constant", Repeated("term: T Constant 1\n", 60) + "term: S1 Constant"),
                     "more than 64 terms");
    const std::string rule = "  rule: if left is free then angle is S1\n";
    ExpectRefusedFor("rules.fll", m_fll + Repeated(rule, 60), "more than 64 rules");
}

TEST_F(HostileTableFileTest, ATablePaddedWithCommentsLoads)
{
    // Once read whole, and copied twice more: 310 MB for 50 MB of comments.
    const std::string comment = "# " + std::string(97, '-') + "\n";
    for (const auto& [name, text] : {std::pair{"padded.fll", Repeated(comment, 200000) + m_fll},
                                     std::pair{"padded.fis", "% " + std::string(1u << 20, '%') + "\n" + m_fis}}) {
        InferenceTable table = m_kept;
        TableRefusal refusal;
        ASSERT_TRUE(LoadTableFile(Write(name, text), table, refusal)) << refusal.english;
        EXPECT_EQ(std::memcmp(&table, &m_exported, sizeof table), 0) << name;
    }
}

TEST_F(HostileTableFileTest, RefusalsQuoteControlBytesEscaped)
{
    ExpectRefusedFor("escape.fll", Edited("left is blocked and", "left is \x1b[2J blocked and"),
                     "holds a byte that is not text");
    // Bytes that are not UTF-8 reach fuzzylite, whose message quotes them.
    const TableRefusal broken = ExpectRefused("broken.fll", Edited("left is blocked and", "left is \x9b"
                                                                                          "31m and"));
    EXPECT_NE(broken.english.find("\\x9b31m"), std::string::npos) << broken.english;
    EXPECT_EQ(broken.english.find('\x9b'), std::string::npos);

    InferenceTable table = m_kept;
    TableRefusal named;
    EXPECT_FALSE(LoadTableFile(Write("bell\x07\x1b[2J.fis", "not an engine\n"), table, named));
    for (const std::string& text : {named.english, named.french}) {
        EXPECT_NE(text.find("bell\\x07\\x1b[2J.fis"), std::string::npos) << text;
        EXPECT_EQ(text.find_first_of("\x07\x1b\n"), std::string::npos) << text;
    }
}
