#include <iostream>
#include <string>
#include <vector>

#include "TuneRun.h"

int main(int argc, char* argv[])
{
    return RunTrundelTune(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
