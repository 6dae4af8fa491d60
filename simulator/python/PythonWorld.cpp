#include "python/PythonWorld.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "python/PythonImages.h"
#include "runner/PictureOutput.h"
#include "world/Degrees.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace py = pybind11;

namespace {

// The world of a run at its usual start, whose commands come from the caller.
class SteppedWorld {
public:
    SteppedWorld(std::uint64_t seed, const std::optional<InferenceTable>& table)
        : m_sim(std::make_unique<RobotSimulation>(kWorldSize, kWorldSize)), m_table(table.value_or(InferenceTable{}))
    {
        Reset(seed);
    }

    void Reset(std::uint64_t seed)
    {
        m_sim->inCollision = 0;
        m_sim->rng.Seed(seed);
        PrepareRun(*m_sim, m_table);
        m_sim->Sense(false);
    }

    py::tuple Distances() const
    {
        return py::make_tuple(m_sim->sectorDistance[0], m_sim->sectorDistance[1], m_sim->sectorDistance[2]);
    }

    py::tuple Sense()
    {
        m_sim->Sense(false);
        return Distances();
    }

    py::tuple Step(double angle, double speed)
    {
        m_sim->steer = angle * kDegreesToRadians;
        m_sim->speed = speed;
        m_sim->Step();
        m_sim->UpdateCollision();
        m_sim->DrawRobot(false);
        m_sim->Sense(false);
        return Distances();
    }

    // The command the world's own controller gives from the last sensing, with its sign
    // draw, as a run with the table would steer.
    py::tuple TableCommand()
    {
        m_sim->ComputeCommand();
        return py::make_tuple(m_sim->steer / kDegreesToRadians, m_sim->speed);
    }

    const RobotSimulation& Sim() const { return *m_sim; }

private:
    std::unique_ptr<RobotSimulation> m_sim;
    InferenceTable m_table;
};

}  // namespace

void BindWorld(py::module_& module)
{
    py::class_<SteppedWorld>(module, "World",
                             R"(A world to step by hand, for a controller of your own or a learning loop:
the usual start of a run from the seed (a new arena, the robot at the centre heading up),
then each step(angle, speed) moves the robot one pass, tests the collision and senses
again. The table, when given, is the controller table_command() uses.)")
        .def(py::init<std::uint64_t, const std::optional<InferenceTable>&>(), py::arg("seed"),
             py::arg("table") = py::none())
        .def("reset", &SteppedWorld::Reset, py::arg("seed"), "Back to the usual start, with a new arena from the seed.")
        .def("sense", &SteppedWorld::Sense, "Senses again: (left, front, right) sector distances in pixels.")
        .def("step", &SteppedWorld::Step, py::arg("angle"), py::arg("speed"),
             "One pass at this command (angle in degrees, positive turns left; speed in pixels per pass); "
             "returns the distances sensed after it.")
        .def("table_command", &SteppedWorld::TableCommand,
             "The table's command (degrees, speed) for the last distances, as a run would steer (random sign "
             "draw included).")
        .def_property_readonly(
            "pose",
            [](const SteppedWorld& w) { return py::make_tuple(w.Sim().centerX, w.Sim().centerY, w.Sim().heading); },
            "(centerX, centerY, heading in radians) of the robot's centre.")
        .def_property_readonly(
            "collisions", [](const SteppedWorld& w) { return w.Sim().collisions; },
            "Collisions counted since the start: entries of the centre into blocked ground.")
        .def_property_readonly(
            "distance", [](const SteppedWorld& w) { return w.Sim().distance; },
            "Pixels the centre travelled since the start.")
        .def_property_readonly(
            "arena", [](const SteppedWorld& w) { return UprightRgb(w.Sim().arena); },
            "The obstacles, upright and RGB, 256 x 256 x 3 uint8.")
        .def(
            "frame", [](const SteppedWorld& w) { return ArrayOf(RgbOf(UprightFrame(w.Sim(), 1))); },
            "The frame as the window shows it (robot over arena), upright and RGB.");
}
