#pragma once
#include <pybind11/pybind11.h>

// marlune.run and marlune.score.
void BindRun(pybind11::module_& module);
void BindScore(pybind11::module_& module);
