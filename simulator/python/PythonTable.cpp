#include "python/PythonTable.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "interop/TableFiles.h"
#include "world/FuzzyInference.h"
#include "world/InferenceFile.h"
#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"
#include "world/SimulationRun.h"

namespace py = pybind11;

namespace {

InferenceTable MakeTable(const std::vector<double>& angles, const std::vector<double>& speeds)
{
    if (angles.size() != InferenceTable::kSituations || speeds.size() != InferenceTable::kSituations)
        throw py::value_error("a table has eight angles and eight speeds");
    InferenceTable table;
    for (int k = 0; k < InferenceTable::kSituations; ++k) {
        table.angles[k] = angles[k];
        table.speeds[k] = speeds[k];
    }
    return table;
}

// Python's own shortest repr of each number: it reads back to the same double.
std::string Describe(const InferenceTable& table)
{
    std::string text = "Table(";
    for (int k = 0; k < InferenceTable::kSituations; ++k)
        text += std::string(k ? ", " : "") + "S" + std::to_string(k + 1) + " " +
                py::repr(py::float_(table.angles[k])).cast<std::string>() + " " +
                py::repr(py::float_(table.speeds[k])).cast<std::string>();
    return text + ")";
}

}  // namespace

void BindTable(py::module_& module)
{
    py::class_<InferenceTable>(module, "Table", R"(An inference table: for S1..S8 an angle in degrees
(positive turns left) and a speed in pixels per pass.)")
        .def(py::init(&MakeTable), py::arg("angles"), py::arg("speeds"),
             "A table from its eight angles and eight speeds, S1 first.")
        .def_property_readonly(
            "angles", [](const InferenceTable& t) { return std::vector<double>(t.angles, t.angles + 8); },
            "The eight angles in degrees, S1 first.")
        .def_property_readonly(
            "speeds", [](const InferenceTable& t) { return std::vector<double>(t.speeds, t.speeds + 8); },
            "The eight speeds in pixels per pass, S1 first.")
        .def(
            "save",
            [](const InferenceTable& table, const std::string& path) {
                if (!SaveInferenceFile(path, table)) throw py::value_error("cannot write '" + path + "'");
            },
            py::arg("path"),
            "Writes the table as an .ifi file (eight lines 'angle speed'), replacing the file only once it is "
            "complete. Raises ValueError when it cannot be written.")
        .def("__repr__", &Describe);

    module.def(
        "read_table",
        [](const std::string& path) {
            InferenceTable table;
            TableRefusal refusal;
            if (!LoadTableFile(path, table, refusal)) throw py::value_error(refusal.english);
            return table;
        },
        py::arg("path"),
        R"(Reads a whole table from an .ifi file or a fuzzylite .fll or .fis engine of the shape
marlune-export writes. Raises ValueError with the programs' own reason otherwise (a short
.ifi included: a run never steers with half a table).)");
}

void BindCommand(py::module_& module)
{
    module.def(
        "command",
        [](const InferenceTable& table, py::array_t<double, py::array::forcecast> left,
           py::array_t<double, py::array::forcecast> front, py::array_t<double, py::array::forcecast> right,
           bool details) -> py::object {
            const auto broadcast = py::module_::import("numpy").attr("broadcast_arrays")(left, front, right);
            const auto arrays = broadcast.cast<std::vector<py::array_t<double, py::array::forcecast>>>();
            std::vector<py::ssize_t> shape(arrays[0].shape(), arrays[0].shape() + arrays[0].ndim());
            const py::ssize_t count = arrays[0].size();
            py::array_t<double> angle(shape), speed(shape);
            std::vector<py::ssize_t> degreeShape = shape, truthShape = shape;
            degreeShape.insert(degreeShape.end(), {3, 2});
            truthShape.push_back(InferenceTable::kSituations);
            py::array_t<double> degrees(details ? degreeShape : std::vector<py::ssize_t>{0});
            py::array_t<double> truths(details ? truthShape : std::vector<py::ssize_t>{0});

            RobotSimulation sim(1, 1);
            SetUsualRobot(sim, table);
            // Broadcast views may share elements: read them through numpy's own flat order.
            const py::array_t<double> l = py::module_::import("numpy").attr("ascontiguousarray")(arrays[0]);
            const py::array_t<double> f = py::module_::import("numpy").attr("ascontiguousarray")(arrays[1]);
            const py::array_t<double> r = py::module_::import("numpy").attr("ascontiguousarray")(arrays[2]);
            const double *ls = l.data(), *fs = f.data(), *rs = r.data();
            double* angles = angle.mutable_data();
            double* speeds = speed.mutable_data();
            double* degreeOut = details ? degrees.mutable_data() : nullptr;
            double* truthOut = details ? truths.mutable_data() : nullptr;
            {
                py::gil_scoped_release release;
                for (py::ssize_t i = 0; i < count; ++i) {
                    const double distances[3] = {ls[i], fs[i], rs[i]};
                    const FuzzyInference inference = FuzzyInference::From(distances, sim.nearDistance, sim.farDistance);
                    const FuzzyCommand command = WeightedCommand(inference, table.angles, table.speeds);
                    angles[i] = command.angle;
                    speeds[i] = command.speed;
                    if (degreeOut)
                        for (int s = 0; s < 3; ++s)
                            for (int b = 0; b < 2; ++b) degreeOut[i * 6 + s * 2 + b] = inference.degree[s][b];
                    if (truthOut)
                        for (int k = 0; k < InferenceTable::kSituations; ++k)
                            truthOut[i * InferenceTable::kSituations + k] = inference.truth[k];
                }
            }
            if (details) return py::make_tuple(angle, speed, degrees, truths);
            return py::make_tuple(angle, speed);
        },
        py::arg("table"), py::arg("left"), py::arg("front"), py::arg("right"), py::arg("details") = false,
        R"(The controller's command for the three sector distances (pixels), as arrays or numbers
broadcast together: (angle in degrees, speed in pixels per pass), bit for bit what the
world's controller computes with the run's ramp (from the robot's radius to twice it).
With details=True also the degrees of each sector ([..., sector, blocked/free], sectors
left, front, right) and the truths of S1..S8 ([..., 8]).

The world draws one random sign in a run: whenever S3 or S8 is the truest situation, the
angles of S1 and S6 are multiplied by +1 or -1 at random, and stay so. command() uses the
table as given, without that draw; pass a table with those two angles negated to see the
other side.)");
}
