#pragma once
#include <string>

// "<program> <version>", the answer of every program to --version. The version is the
// project's own, from the top-level CMakeLists.txt, so a release is numbered in one place.
std::string VersionLine(const std::string& program);
