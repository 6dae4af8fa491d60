#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "RunFixture.h"
#include "app/InferenceView.h"
#include "runner/HeadlessRun.h"
#include "runner/TraceWriter.h"
#include "world/InferenceFile.h"

namespace {

std::string Contents(const QString& path)
{
    std::ifstream file(path.toStdString());
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class ReplayTest : public RunFixture {};

TEST_F(ReplayTest, TheShownGeneratorStateReplaysTheDesktopRunHeadlessPassForPass)
{
    QTemporaryDir directory;
    const QString tablePath = directory.filePath("table.ifi");
    ASSERT_TRUE(SaveInferenceFile(tablePath.toStdString(), kExampleTable));
    dialog.ShowTable(kExampleTable);
    dialog.m_sim.rng.Seed(2024);

    // A first run moves the generator on, so the second starts from a state that is no
    // longer the seed: the one the window shows is the only way back to it.
    Run([&](int pass) { return pass == 0 ? int('g') : pass < 20 ? kNoKey : kEscape; });
    ASSERT_EQ(dialog.m_sim.inCollision, 0) << "a run ending in a collision would carry it into the next";
    const std::uint64_t firstRunState = dialog.Inference().GeneratorState();

    constexpr int kPasses = 600;
    const QString desktopTrace = directory.filePath("desktop.csv");
    {
        TraceWriter trace(desktopTrace.toStdString());
        Run([&](int pass) {
            // Poll k (k >= 2) follows pass k - 1; the beams change only the picture.
            if (pass >= 2) trace.Row(pass - 1, dialog.m_sim);
            if (pass == 100) return int('t');
            return pass == 0 ? int('g') : pass <= kPasses ? kNoKey : kEscape;
        });
        trace.Finish();
    }

    const QRegularExpressionMatch shown =
        QRegularExpression("marlune-run --seed ([0-9]+) --table").match(dialog.Inference().ReplayCommand());
    ASSERT_TRUE(shown.hasMatch()) << dialog.Inference().ReplayCommand().toStdString();
    EXPECT_NE(shown.captured(1).toULongLong(), firstRunState);

    const QString headlessTrace = directory.filePath("headless.csv");
    std::ostringstream out, err;
    ASSERT_EQ(RunMarlune({"--seed", shown.captured(1).toStdString(), "--table", tablePath.toStdString(), "--passes",
                          std::to_string(kPasses), "--trace", headlessTrace.toStdString()},
                         out, err),
              0)
        << err.str();
    const std::string desktop = Contents(desktopTrace), headless = Contents(headlessTrace);
    EXPECT_GT(desktop.size(), 600u * 40);
    EXPECT_TRUE(desktop == headless) << "the desktop run and its headless replay part ways";
}

}  // namespace
