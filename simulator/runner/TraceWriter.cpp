#include "runner/TraceWriter.h"

#include <stdexcept>

#include "common/NumberText.h"

TraceWriter::TraceWriter(const std::string& path) : m_path(path), m_file(path), m_stream(m_file.Stream())
{
    if (!m_stream) throw std::runtime_error("--trace: cannot create '" + path + "' (" + m_file.Error() + ")");
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
    if (!m_file.Commit()) throw std::runtime_error("--trace: writing '" + m_path + "' failed (" + m_file.Error() + ")");
}

void TraceWriter::Write(const std::string& text)
{
    if (std::fwrite(text.data(), 1, text.size(), m_stream) != text.size() || std::ferror(m_stream))
        throw std::runtime_error("--trace: writing '" + m_path + "' failed");
}
