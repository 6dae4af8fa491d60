#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <sstream>

#include "../world/ScratchFolder.h"
#include "common/ProgramVersion.h"
#include "export/ExportProgram.h"
#include "runner/HeadlessRun.h"

namespace {

struct Outcome {
    int code;
    std::string err;
};

Outcome Export(const std::vector<std::string>& arguments)
{
    std::ostringstream out, err;
    const int code = RunExport(arguments, out, err);
    return {code, err.str()};
}

class ExportProgramTest : public ScratchFolderTest {
protected:
    void SetUp() override { m_table = Write("table.ifi", "40 0.5\n-40 1\n0 2\n-10 2\n40 1\n40 1\n10 2\n0 2\n"); }
    std::string m_table;
};

}  // namespace

TEST_F(ExportProgramTest, WritesTheEngineAndTheSurfaceThatTheRunnerAndAViewerRead)
{
    const Outcome done = Export({m_table, PathOf("t.fis"), "--surface", PathOf("s.png"), "--front", "12.5"});
    ASSERT_EQ(done.code, 0) << done.err;
    EXPECT_FALSE(cv::imread(PathOf("s.png")).empty());

    // The exported engine steers a headless run exactly as the table it came from.
    std::ostringstream fromIfi, fromFis, err;
    ASSERT_EQ(RunMarlune({"--seed", "9", "--passes", "200", "--table", m_table}, fromIfi, err), 0) << err.str();
    ASSERT_EQ(RunMarlune({"--seed", "9", "--passes", "200", "--table", PathOf("t.fis")}, fromFis, err), 0) << err.str();
    EXPECT_EQ(fromFis.str(), fromIfi.str());
}

TEST_F(ExportProgramTest, BadArgumentsAndTablesStopWithCodeTwoAndWriteNothing)
{
    EXPECT_EQ(Export({}).code, 2);
    EXPECT_EQ(Export({m_table}).code, 2);  // nothing to write
    EXPECT_EQ(Export({m_table, PathOf("t.txt")}).code, 2);
    EXPECT_EQ(Export({m_table, "--surface", PathOf("s.unknown")}).code, 2);
    EXPECT_EQ(Export({m_table, "--surface", PathOf("s.png"), "--front", "-1"}).code, 2);
    EXPECT_EQ(Export({m_table, "--surface", PathOf("s.png"), "--front", "nan"}).code, 2);
    EXPECT_EQ(Export({m_table, PathOf("a.fll"), PathOf("b.fll")}).code, 2);
    EXPECT_EQ(Export({PathOf("absent.ifi"), PathOf("t.fll")}).code, 2);

    // The output naming the input would destroy the table it is made from.
    ASSERT_EQ(Export({m_table, PathOf("t.fll")}).code, 0);
    const std::string before = Read(PathOf("t.fll"));
    const Outcome self = Export({PathOf("t.fll"), PathOf("t.fll")});
    EXPECT_EQ(self.code, 2);
    EXPECT_NE(self.err.find("is the table being read"), std::string::npos) << self.err;
    EXPECT_EQ(Read(PathOf("t.fll")), before);
    EXPECT_FALSE(std::filesystem::exists(PathOf("s.png")));

    // A rule chaining terms without end was a stack overflow: now one line and code 2.
    std::string chain = "rule: if ";
    for (int i = 0; i < 60000; ++i) chain += "left is blocked and ";
    std::string hostile = before;
    hostile.replace(hostile.find("rule: if "), 9, chain);
    const Outcome refused = Export({Write("chain.fll", hostile), PathOf("out.fis")});
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("is refused: line"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find('\n'), refused.err.size() - 1) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(PathOf("out.fis")));
}

TEST_F(ExportProgramTest, VersionWritesNothingElse)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunExport({m_table, PathOf("t.fll"), "--version"}, out, err), 0);
    EXPECT_EQ(out.str(), VersionLine("marlune-export"));
    EXPECT_EQ(err.str(), "");
    EXPECT_FALSE(std::filesystem::exists(PathOf("t.fll")));
}

TEST_F(ExportProgramTest, AnOutputThatCannotBeWrittenIsCodeOne)
{
    const Outcome engine = Export({m_table, PathOf("none/t.fll")});
    EXPECT_EQ(engine.code, 1);
    EXPECT_EQ(engine.err.rfind("marlune-export: ", 0), 0u) << engine.err;
    EXPECT_EQ(Export({m_table, "--surface", PathOf("none/s.png")}).code, 1);
}
