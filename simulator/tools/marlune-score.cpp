#include <iostream>

#include "tuner/ScoreRun.h"

int main(int argc, char** argv)
{
    return RunScore(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
