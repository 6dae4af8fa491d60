#pragma once
#include <pybind11/pybind11.h>

// marlune.Table, marlune.read_table and marlune.command.
void BindTable(pybind11::module_& module);
void BindCommand(pybind11::module_& module);
