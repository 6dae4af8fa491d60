#include <iostream>

#include "reasoning/ReasoningPanel.h"
#include "runner/HeadlessRun.h"

int main(int argc, char** argv)
{
    return RunMarlune(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, MakeReasoningPanel);
}
