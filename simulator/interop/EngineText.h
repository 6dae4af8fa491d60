#pragma once
#include <string>

#include "common/BoundedText.h"

// The engine files fuzzylite reads for us.
enum class EngineFormat { Fll, Fis };

// What an engine file may hold before fuzzylite is given it. Marlune writes 1.5 to 2.5 KB
// in about 70 lines, none longer than 140 bytes, with 7 sections, 22 terms and 8 rules;
// the limits leave a hand-edited file room many times over, and stop far short of the
// sizes at which fuzzylite recursed out of its stack or searched its variables for seconds.
const TextLimits& EngineTextLimits(EngineFormat format);

// Counts the sections, terms and rules of an engine's kept lines. Returns false with the
// reason in both languages when one count is beyond what an engine may hold.
bool CheckEngineCounts(const std::string& kept, EngineFormat format, TextFaultWords& why);
