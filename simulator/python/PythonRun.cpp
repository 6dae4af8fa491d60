#include "python/PythonRun.h"

#include <pybind11/functional.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "python/PythonImages.h"
#include "runner/PictureOutput.h"
#include "runner/WorldReach.h"
#include "tuner/TableScore.h"
#include "world/Degrees.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace py = pybind11;

namespace {

using Controller = std::function<std::pair<double, double>(double, double, double)>;

// The columns of marlune-run --trace, one vector each.
struct Trace {
    std::vector<long long> pass, collisions;
    std::vector<double> centerX, centerY, heading, steer, speed, left, front, right, distance;

    void Row(long long number, const RobotSimulation& sim)
    {
        pass.push_back(number);
        centerX.push_back(sim.centerX);
        centerY.push_back(sim.centerY);
        heading.push_back(sim.heading);
        steer.push_back(sim.steer);
        speed.push_back(sim.speed);
        left.push_back(sim.sectorDistance[0]);
        front.push_back(sim.sectorDistance[1]);
        right.push_back(sim.sectorDistance[2]);
        collisions.push_back(sim.collisions);
        distance.push_back(sim.distance);
    }

    py::dict Arrays() const
    {
        py::dict columns;
        columns["pass"] = py::array_t<long long>(static_cast<py::ssize_t>(pass.size()), pass.data());
        const std::pair<const char*, const std::vector<double>*> doubles[] = {
            {"centerX", &centerX}, {"centerY", &centerY}, {"heading", &heading}, {"steer", &steer},
            {"speed", &speed},     {"left", &left},       {"front", &front},     {"right", &right}};
        for (const auto& [name, values] : doubles)
            columns[name] = py::array_t<double>(static_cast<py::ssize_t>(values->size()), values->data());
        columns["collisions"] = py::array_t<long long>(static_cast<py::ssize_t>(collisions.size()), collisions.data());
        columns["distance"] = py::array_t<double>(static_cast<py::ssize_t>(distance.size()), distance.data());
        return columns;
    }
};

// One pass steered by the user's function instead of the table: the same step, collision
// test, drawing and sensing as the world's own pass, then the function's command.
void RunPassSteeredBy(RobotSimulation& sim, const Controller& controller, bool paint, bool beams)
{
    sim.Step();
    sim.UpdateCollision();
    if (paint) sim.DrawRobot(false);
    sim.Sense(paint && beams);
    py::gil_scoped_acquire acquire;
    const auto [angle, speed] = controller(sim.sectorDistance[0], sim.sectorDistance[1], sim.sectorDistance[2]);
    sim.steer = angle * kDegreesToRadians;
    sim.speed = speed;
}

py::dict Run(const std::optional<InferenceTable>& table, std::uint64_t seed, long long passes, bool frames, bool beams,
             const std::optional<Controller>& controller)
{
    if (passes < 1) throw py::value_error("passes must be at least 1");
    if (!table && !controller) throw py::value_error("run needs a table or a controller");
    RobotSimulation sim(kWorldSize, kWorldSize);
    sim.rng.Seed(seed);
    PrepareRun(sim, table.value_or(InferenceTable{}));
    py::array_t<std::uint8_t> arena = UprightRgb(sim.arena);

    Trace trace;
    std::vector<cv::Mat> pictures;
    long long done = passes;
    bool leftTheWorld = false;
    {
        py::gil_scoped_release release;
        for (long long pass = 1; pass <= passes; ++pass) {
            if (controller)
                RunPassSteeredBy(sim, *controller, frames, beams);
            else
                RunPass(sim, {.robot = frames, .beams = frames && beams});
            trace.Row(pass, sim);
            if (frames) pictures.push_back(RgbOf(UprightFrame(sim, 1)));
            if (!NextPassStaysInTheWorld(sim)) {
                done = pass;
                leftTheWorld = pass < passes;
                break;
            }
        }
    }
    py::dict summary;
    summary["seed"] = seed;
    summary["passes"] = done;
    summary["collisions"] = sim.collisions;
    summary["distance"] = sim.distance;
    summary["collisions_per_1000_passes"] = sim.collisions * 1000.0 / static_cast<double>(done);
    summary["mean_speed"] = sim.distance / static_cast<double>(done);
    summary["left_the_world"] = leftTheWorld;
    py::dict result;
    result["trace"] = trace.Arrays();
    result["summary"] = summary;
    result["arena"] = arena;
    if (frames) {
        py::list list;
        for (const cv::Mat& picture : pictures) list.append(ArrayOf(picture));
        result["frames"] = py::module_::import("numpy").attr("stack")(list);
    }
    return result;
}

py::dict Row(const TableScore& row)
{
    auto interval = [](const MeanInterval& m) {
        return py::make_tuple(m.mean, m.low ? py::cast(*m.low) : py::none(), m.high ? py::cast(*m.high) : py::none());
    };
    py::dict figures;
    figures["score"] = row.score;
    figures["collisions_per_1000_passes"] = interval(row.collisions);
    figures["mean_speed"] = interval(row.speed);
    figures["coverage"] = interval(row.coverage);
    return figures;
}

}  // namespace

void BindRun(py::module_& module)
{
    module.def("run", &Run, py::arg("table") = py::none(), py::arg("seed"), py::arg("passes") = 3000,
               py::arg("frames") = false, py::arg("beams") = false, py::arg("controller") = py::none(),
               R"(A whole run, as `marlune-run --seed SEED --table TABLE --passes PASSES` runs it: the usual
start (a new arena of 12 obstacles from the seed, the robot at the centre heading up), then
each pass steps, tests the collision, senses and steers.

controller, instead of a table: a function f(left, front, right) of the three sector
distances (pixels) returning (angle in degrees, speed in pixels per pass), called once a
pass after sensing, as the table's controller would be.

Returns a dict:
  trace    the columns of marlune-run --trace as numpy arrays, one value per pass: pass,
           centerX, centerY, heading, steer, speed, left, front, right, collisions, distance
           (equal value for value to the CSV's 17 digits)
  summary  seed, passes, collisions, distance, collisions_per_1000_passes, mean_speed,
           left_the_world (the run ended early, the robot thrown beyond any meaningful range)
  arena    the obstacles, upright (y = 0 at the bottom), RGB, uint8, 256 x 256 x 3
  frames   with frames=True, every pass's frame as the window shows it (beams=True adds the
           beams): passes x 256 x 256 x 3, about 200 kB a pass)");
}

void BindScore(py::module_& module)
{
    module.def(
        "score",
        [](const std::vector<InferenceTable>& tables, std::optional<std::vector<std::uint64_t>> chosenSeeds,
           int passes) {
            if (passes < 1) throw py::value_error("passes must be at least 1");
            std::vector<std::uint64_t> seeds;
            if (chosenSeeds)
                seeds = *chosenSeeds;
            else
                for (std::uint64_t seed = 1; seed <= 30; ++seed) seeds.push_back(seed);
            if (seeds.empty()) throw py::value_error("score needs at least one seed");
            const int cores = static_cast<int>(std::thread::hardware_concurrency());
            const ParallelEvaluator evaluator(cores > 0 ? cores : 1, passes);
            std::vector<TableScore> rows;
            {
                py::gil_scoped_release release;
                for (std::size_t i = 0; i < tables.size(); ++i)
                    rows.push_back(*ScoreTable(evaluator, std::to_string(i), tables[i], seeds));
            }
            py::list result;
            for (const TableScore& row : rows) result.append(Row(row));
            return result;
        },
        py::arg("tables"), py::arg("seeds") = py::none(), py::arg("passes") = 3000,
        R"(marlune-score's figures for each table, in the order given, on the same arenas (the
seeds marlune-run takes; default 1 to 30), every core at work while Python waits. Each is a
dict: score (marlune-tune's), and collisions_per_1000_passes, mean_speed and coverage (the
share of the 144 interior cells entered), each (mean over the arenas, 95 % interval low,
high); one arena has no interval (None, None).)");
}
