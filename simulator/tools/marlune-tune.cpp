#include <iostream>

#include "tuner/TunerRun.h"

int main(int argc, char** argv)
{
    return RunTuner(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
