#pragma once
#include <pybind11/pybind11.h>

// marlune.World: a world stepped by hand.
void BindWorld(pybind11::module_& module);
