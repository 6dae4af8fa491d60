#include "TraceWriter.h"

#include <stdexcept>

#include "NumberText.h"

TraceWriter::TraceWriter(const std::string& path) : path_(path), file_(path, std::ios::out | std::ios::trunc)
{
    if (!file_) throw std::runtime_error("--trace: cannot create '" + path + "'");
    file_ << kHeader << '\n';
}

void TraceWriter::Row(long long pass, const RobotSimulation& sim)
{
    std::string line = std::to_string(pass);
    for (double value : {sim.centerX, sim.centerY, sim.heading, sim.steer, sim.speed, sim.sectorDistance[0],
                         sim.sectorDistance[1], sim.sectorDistance[2]}) {
        line += ',';
        line += SeventeenDigits(value);
    }
    line += ',' + std::to_string(sim.collisions) + ',' + SeventeenDigits(sim.distance) + '\n';
    file_ << line;
    Check();
}

void TraceWriter::Finish()
{
    file_.close();
    Check();
}

void TraceWriter::Check()
{
    if (file_.fail()) throw std::runtime_error("--trace: writing '" + path_ + "' failed");
}
