#pragma once
#include "Room.h"

#include <cstddef>
#include <vector>

// How much of a room's floor a drive went over: the room cut into square cells, a cell
// counted once the body's centre has been in it, out of the cells whose centre the body
// can stand on (a cell under the sofa is not held against the drive).
class FloorCoverage {
public:
    static constexpr double kCellMm = 250;

    explicit FloorCoverage(const emulator::Room& room);
    void Mark(double xMm, double yMm);
    // 0 to 1.
    double Share() const;

private:
    std::size_t columns_;
    std::size_t rows_;
    long reachable_ = 0;
    long crossed_ = 0;
    std::vector<bool> visited_;
};
