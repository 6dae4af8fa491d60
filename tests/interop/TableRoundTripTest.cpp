#include <cmath>
#include <fl/Headers.h>
#include <gtest/gtest.h>
#include <memory>
#include <random>

#include "../world/ScratchFolder.h"
#include "interop/TableFiles.h"
#include "world/InferenceFile.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

InferenceTable ShippedTable(const std::string& name)
{
    InferenceTable table;
    EXPECT_EQ(LoadInferenceFile(std::string(MARLUNE_TABLES_DIR) + "/" + name, table), 16) << name;
    return table;
}

InferenceTable RandomTable(std::uint32_t seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> angle(-180, 180), speed(-1, 4);
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        table.angles[k] = angle(generator);
        table.speeds[k] = speed(generator);
    }
    // A constant far below fuzzylite's default 3 fixed decimals must survive the trip too.
    table.speeds[3] = 1.2345678901234567e-7;
    return table;
}

std::unique_ptr<fl::Engine> Import(const std::string& path)
{
    switch (TableFileFormatOf(path)) {
    case TableFileFormat::Fll:
        return std::unique_ptr<fl::Engine>(fl::FllImporter().fromFile(path));
    case TableFileFormat::Fis:
        return std::unique_ptr<fl::Engine>(fl::FisImporter().fromFile(path));
    default:
        return std::unique_ptr<fl::Engine>(fl::FclImporter().fromFile(path));
    }
}

// Distances around and on the ramp's bounds, behind the robot's front and far beyond.
std::vector<double> GridDistances(double nearDistance, double farDistance)
{
    std::vector<double> distances = {-16, -1, 0, 1, nearDistance, farDistance, 3 * farDistance, 511.5};
    distances.push_back(std::nextafter(nearDistance, 0.0));
    distances.push_back(std::nextafter(nearDistance, 1e9));
    distances.push_back(std::nextafter(farDistance, 0.0));
    distances.push_back(std::nextafter(farDistance, 1e9));
    for (int i = 1; i < 6; ++i) distances.push_back(nearDistance + (farDistance - nearDistance) * i / 6);
    return distances;
}

// The world takes a blocked degree as 1 - free, fuzzylite from its own falling ramp: the
// degrees agree to rounding of 1, so the commands agree to rounding of the largest entry.
double Largest(const double* values)
{
    double largest = 0;
    for (int k = 0; k < InferenceTable::kSituations; ++k) largest = std::max(largest, std::abs(values[k]));
    return largest;
}

class TableRoundTripTest : public ScratchFolderTest {
protected:
    static void SetUpTestSuite() { fl::fuzzylite::setMachEps(1e-300); }
    static void TearDownTestSuite() { fl::fuzzylite::setMachEps(1e-6); }

    // Exports, imports with fuzzylite's own importer and compares the engine with the
    // controller on every triple of grid distances.
    void ExpectSameCommands(const InferenceTable& table, const std::string& extension)
    {
        const std::string path = PathOf("table" + extension);
        TableRefusal refusal;
        ASSERT_TRUE(ExportTableFile(path, table, refusal)) << refusal.english;
        const std::unique_ptr<fl::Engine> engine = Import(path);
        std::string status;
        ASSERT_TRUE(engine->isReady(&status)) << status;

        RobotSimulation sim(kWorldSize, kWorldSize);
        sim.rng.Seed(7);
        PrepareRun(sim, table);
        const std::vector<double> distances = GridDistances(sim.nearDistance, sim.farDistance);
        fl::Term* const s1 = engine->getOutputVariable("angle")->getTerm("S1");
        fl::Term* const s6 = engine->getOutputVariable("angle")->getTerm("S6");
        int checked = 0;
        for (double left : distances)
            for (double front : distances)
                for (double right : distances) {
                    std::copy(std::begin(table.angles), std::end(table.angles), sim.angles);
                    sim.sectorDistance[0] = left;
                    sim.sectorDistance[1] = front;
                    sim.sectorDistance[2] = right;
                    sim.ComputeCommand();
                    // The controller may have turned S1 and S6 the other way for this pass.
                    static_cast<fl::Constant*>(s1)->setValue(sim.angles[0]);
                    static_cast<fl::Constant*>(s6)->setValue(sim.angles[5]);

                    engine->setInputValue("left", left);
                    engine->setInputValue("front", front);
                    engine->setInputValue("right", right);
                    engine->process();
                    const double angle = engine->getOutputValue("angle") * kDegreesToRadians;
                    const double speed = engine->getOutputValue("speed");
                    const double angleSize = Largest(sim.angles) * kDegreesToRadians;
                    const double speedSize = Largest(sim.speeds);
                    ASSERT_LE(std::abs(angle - sim.steer), 1e-9 * angleSize)
                        << extension << " at " << left << ", " << front << ", " << right;
                    ASSERT_LE(std::abs(speed - sim.speed), 1e-9 * speedSize)
                        << extension << " at " << left << ", " << front << ", " << right;
                    ++checked;
                }
        EXPECT_EQ(checked, static_cast<int>(distances.size() * distances.size() * distances.size()));
    }
};

}  // namespace

TEST_F(TableRoundTripTest, EveryFormatSteersLikeTheControllerOnTheGrid)
{
    for (const InferenceTable& table : {ShippedTable("example.ifi"), ShippedTable("tuned.ifi"), RandomTable(11)})
        for (const char* extension : {".fll", ".fis", ".fcl"}) {
            SCOPED_TRACE(extension);
            ExpectSameCommands(table, extension);
        }
}

TEST_F(TableRoundTripTest, ExportedEnginesLoadBackBitForBit)
{
    const InferenceTable table = RandomTable(23);
    for (const char* extension : {".fll", ".fis", ".FLL"}) {
        const std::string path = PathOf(std::string("table") + extension);
        TableRefusal refusal;
        ASSERT_TRUE(ExportTableFile(path, table, refusal)) << refusal.english;
        InferenceTable loaded;
        ASSERT_TRUE(LoadTableFile(path, loaded, refusal)) << extension << ": " << refusal.english;
        for (int k = 0; k < InferenceTable::kSituations; ++k) {
            EXPECT_EQ(loaded.angles[k], table.angles[k]) << extension << " S" << k + 1;
            EXPECT_EQ(loaded.speeds[k], table.speeds[k]) << extension << " S" << k + 1;
        }
    }
}

TEST_F(TableRoundTripTest, TheRampIsTheOneARunSets)
{
    RobotSimulation sim(kWorldSize, kWorldSize);
    PrepareRun(sim, InferenceTable{});
    EXPECT_EQ(RunRampBounds().nearDistance, sim.radius);
    EXPECT_EQ(RunRampBounds().farDistance, 2 * sim.radius);
}

TEST_F(TableRoundTripTest, ExportLeavesFuzzylitesNumberFormatAsItWas)
{
    const int decimals = fl::fuzzylite::decimals();
    TableRefusal refusal;
    ASSERT_TRUE(ExportTableFile(PathOf("t.fll"), RandomTable(5), refusal));
    EXPECT_EQ(fl::fuzzylite::decimals(), decimals);
}
