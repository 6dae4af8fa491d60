#include "FloorCoverage.h"

#include <algorithm>
#include <cmath>

#include "RobotBody.h"

FloorCoverage::FloorCoverage(const emulator::Room& room)
    : columns_(static_cast<std::size_t>(std::ceil(room.WidthMm() / kCellMm))),
      rows_(static_cast<std::size_t>(std::ceil(room.DepthMm() / kCellMm))), visited_(columns_ * rows_, false)
{
    for (std::size_t row = 0; row < rows_; ++row)
        for (std::size_t column = 0; column < columns_; ++column)
            if (room.Clearance((static_cast<double>(column) + 0.5) * kCellMm,
                               (static_cast<double>(row) + 0.5) * kCellMm) >= emulator::RobotBody::kRadiusMm)
                ++reachable_;
}

void FloorCoverage::Mark(double xMm, double yMm)
{
    if (!(xMm >= 0) || !(yMm >= 0)) return;
    const auto column = static_cast<std::size_t>(xMm / kCellMm);
    const auto row = static_cast<std::size_t>(yMm / kCellMm);
    if (column >= columns_ || row >= rows_) return;
    const std::size_t index = row * columns_ + column;
    if (visited_[index]) return;
    visited_[index] = true;
    ++crossed_;
}

double FloorCoverage::Share() const
{
    // A cell whose centre is out of reach can still be crossed near its edge.
    return reachable_ > 0 ? std::min(1.0, static_cast<double>(crossed_) / static_cast<double>(reachable_)) : 0;
}
