#include "TraceWriter.h"

#include <stdexcept>

#include "NumberText.h"

TraceWriter::TraceWriter(const std::string& path) : path_(path), file_(path), stream_(file_.Stream())
{
    if (!stream_) throw std::runtime_error("--trace: cannot create '" + path + "' (" + file_.Error() + ")");
    Write(std::string(kHeader) + '\n');
}

void TraceWriter::Row(long long pass, const RobotSimulation& sim)
{
    std::string line = std::to_string(pass);
    for (double value : {sim.centerX, sim.centerY, sim.heading, sim.steer, sim.speed, sim.sectorDistance[0],
                         sim.sectorDistance[1], sim.sectorDistance[2]}) {
        line += ',';
        line += SignificantDigits(value, 17);
    }
    line += ',' + std::to_string(sim.collisions) + ',' + SignificantDigits(sim.distance, 17) + '\n';
    Write(line);
}

void TraceWriter::Finish()
{
    if (!file_.Commit()) throw std::runtime_error("--trace: writing '" + path_ + "' failed (" + file_.Error() + ")");
}

void TraceWriter::Write(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), stream_) != text.size() || std::ferror(stream_))
        throw std::runtime_error("--trace: writing '" + path_ + "' failed");
}
