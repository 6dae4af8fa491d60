// The `marlune` Python module: the world, the controller, the tables and the scoring
// themselves, called in the process (no second implementation, no subprocess), so that
// a notebook gets the numbers the programs get, to the last bit.
#include <pybind11/functional.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <thread>

#include "common/ProgramVersion.h"
#include "interop/TableFiles.h"
#include "python/PythonRun.h"
#include "python/PythonTable.h"
#include "python/PythonWorld.h"

namespace py = pybind11;

PYBIND11_MODULE(marlune, module)
{
    module.doc() = R"(Marlune's robot world and fuzzy controller from Python.

A table holds the eight (angle, speed) commands of the situations S1..S8 (S(k+1) with
k = 4*[left free] + 2*[front free] + [right free]); the controller weights them by how
true each situation is. Everything here calls the same C++ library as the programs
marlune, marlune-run, marlune-tune and marlune-score: a run with the same table and
seed gives the same numbers, bit for bit.

  read_table(path)           a table from an .ifi, .fll or .fis file
  Table(angles, speeds)      a table from sixteen numbers
  command(table, l, f, r)    the controller's command for distances (numpy arrays)
  run(table, seed, ...)      a whole run, as marlune-run --seed --trace gives it
  World(seed, table)         a world to step by hand, for a controller of your own
  score(tables, seeds, ...)  marlune-score's figures, on every core
)";
    module.attr("__version__") = VersionLine("marlune").substr(std::string("marlune ").size());

    BindTable(module);
    BindCommand(module);
    BindRun(module);
    BindWorld(module);
    BindScore(module);
}
