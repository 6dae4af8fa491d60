#include <cstring>
#include <fstream>
#include <iterator>

#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "DialogFixture.h"
#include "app/DesktopPrompts.h"
#include "app/InferenceView.h"
#include "interop/CommandSurface.h"
#include "interop/TableFiles.h"
#include "world/InferenceFile.h"

namespace {

const InferenceTable kTable = {{60, -55, 0.1, -5, 55, 60, 5, 0.3}, {0.2, 0.5, 1.5, 2, 0.5, 0.5, 2, 2.5}};

class TableEnginesInDialogTest : public DialogFixture {
protected:
    QString PathOf(const char* name) { return directory.filePath(name); }

    // "Exporter..." as the right-click menu offers it.
    void Export(const QString& path)
    {
        prompts->paths = {path};
        for (QAction* action : dialog.actions()) {
            if (action->text() == "Exporter...") {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no Exporter... in the menu";
    }

    // The shown table exported to `name`, as text to edit.
    std::string ExportedText(const char* name)
    {
        Export(PathOf(name));
        std::ifstream file(PathOf(name).toStdString());
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    void Load(const QString& path)
    {
        prompts->paths = {path};
        dialog.OnLoadInferences();
    }

    QTemporaryDir directory;
};

TEST_F(TableEnginesInDialogTest, ExportedEnginesLoadBackIntoTheFieldsExactly)
{
    dialog.ShowTable(kTable);
    for (const char* name : {"t.fll", "t.fis"}) {
        Export(PathOf(name));
        ASSERT_TRUE(prompts->messages.empty()) << prompts->messages.front().toStdString();
        EXPECT_EQ(prompts->asked.back(), UserPrompts::FileMode::Export);

        dialog.ShowTable(InferenceTable{});
        Load(PathOf(name));
        ASSERT_TRUE(prompts->messages.empty()) << name << ": " << prompts->messages.front().toStdString();
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(dialog.m_table.angles[k], kTable.angles[k]) << name << " S" << k + 1;
            EXPECT_EQ(dialog.m_table.speeds[k], kTable.speeds[k]) << name << " S" << k + 1;
        }
        EXPECT_EQ(Field(kAngleFields[2])->text(), "0.1");
        EXPECT_FALSE(dialog.HasUnsavedChanges()) << "a table just loaded is the file's";
    }
    Export(PathOf("t.fcl"));
    EXPECT_TRUE(prompts->messages.empty());
    EXPECT_TRUE(QFile::exists(PathOf("t.fcl")));
}

TEST_F(TableEnginesInDialogTest, AnEngineOfAnotherShapeIsRefusedInFrenchAndChangesNothing)
{
    dialog.ShowTable(kTable);
    std::string text = ExportedText("good.fll");
    const auto wrongConjunction = text.find("AlgebraicProduct");
    ASSERT_NE(wrongConjunction, std::string::npos);
    text.replace(wrongConjunction, 16, "Minimum");
    std::ofstream(PathOf("other.fll").toStdString()) << text;
    std::ofstream(PathOf("garbage.fis").toStdString()) << "not an engine\n";

    dialog.ShowTable(InferenceTable{});
    for (const char* name : {"other.fll", "garbage.fis", "good.fcl", "missing.fll"}) {
        prompts->messages.clear();
        Load(PathOf(name));
        ASSERT_EQ(prompts->messages.size(), 1u) << name;
        EXPECT_TRUE(prompts->messages.front().contains(name)) << prompts->messages.front().toStdString();
        EXPECT_EQ(dialog.m_table.speeds[7], 0.0) << name;
        EXPECT_EQ(Field(kSpeedFields[7])->text(), "0") << name;
    }
}

TEST_F(TableEnginesInDialogTest, AnEngineMadeToCrashTheReaderIsRefusedInFrench)
{
    // A rule chaining terms without end once overflowed the stack, taking the user's
    // unsaved table with it.
    dialog.ShowTable(kTable);
    std::string text = ExportedText("good.fll");
    std::string chain = "rule: if ";
    for (int i = 0; i < 60000; ++i) chain += "left is blocked and ";
    text.replace(text.find("rule: if "), 9, chain);
    std::ofstream(PathOf("chain.fll").toStdString()) << text;

    prompts->messages.clear();
    Load(PathOf("chain.fll"));
    ASSERT_EQ(prompts->messages.size(), 1u);
    EXPECT_TRUE(prompts->messages.front().contains("est refusé : la ligne")) << prompts->messages.front().toStdString();
    EXPECT_EQ(dialog.m_table.speeds[7], kTable.speeds[7]);
}

TEST_F(TableEnginesInDialogTest, ExportDialogOffersTheThreeFormatsAndTheirSuffixes)
{
    const auto chooser = MakeInferenceFileDialog(nullptr, UserPrompts::FileMode::Export);
    EXPECT_EQ(chooser->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(chooser->nameFilters().size(), 3);
    EXPECT_EQ(chooser->defaultSuffix(), "fll");
    chooser->selectNameFilter(chooser->nameFilters()[1]);
    emit chooser->filterSelected(chooser->nameFilters()[1]);
    EXPECT_EQ(chooser->defaultSuffix(), "fis");
}

TEST_F(TableEnginesInDialogTest, CommandSurfaceOpensFromTheInferenceWindowAndFollowsTheFieldsAndSlider)
{
    ShowActive();
    dialog.ShowTable(kTable);
    InferenceView& view = dialog.Inference();
    view.show();
    CommandSurfaceWindow& surface = view.Surface();
    EXPECT_FALSE(surface.isVisible());
    QTest::mouseClick(view.findChild<QPushButton*>("surface"), Qt::LeftButton);
    ASSERT_TRUE(surface.isVisible());

    const RampBounds ramp = RunRampBounds();
    auto expectPictureOf = [&](const InferenceTable& table) {
        const cv::Mat expected =
            DrawCommandSurface({table, ramp.nearDistance, ramp.farDistance, surface.FrontDistance()});
        const QImage shown = surface.Picture().convertToFormat(QImage::Format_BGR888);
        ASSERT_EQ(shown.width(), expected.cols);
        ASSERT_EQ(shown.height(), expected.rows);
        for (int row = 0; row < expected.rows; ++row)
            ASSERT_EQ(std::memcmp(shown.constScanLine(row), expected.ptr(row), expected.cols * 3), 0) << "row " << row;
    };
    expectPictureOf(kTable);

    const int redraws = surface.RedrawCount();
    Field(kSpeedFields[7])->setText("-1");  // S8's speed, typed
    EXPECT_GT(surface.RedrawCount(), redraws);
    InferenceTable typed = kTable;
    typed.speeds[7] = -1;
    expectPictureOf(typed);

    auto* slider = surface.findChild<QSlider*>();
    ASSERT_NE(slider, nullptr);
    const double front = surface.FrontDistance();
    slider->setValue(slider->maximum());
    EXPECT_NE(surface.FrontDistance(), front);
    EXPECT_NEAR(surface.FrontDistance(), 3 * ramp.farDistance, 0.1);
    expectPictureOf(typed);
}

}  // namespace
