#pragma once
#include <functional>
#include <memory>
#include <opencv2/core.hpp>

#include "world/InferenceTable.h"
#include "world/RobotSimulation.h"

// A picture recorded beside every frame of a run, following it pass by pass: the
// controller's reasoning for marlune-run --inference. The runner knows only this face
// of it, so that it draws nothing itself and links no GUI library.
class PassPanel {
public:
    virtual ~PassPanel() = default;
    // The size of every picture it gives.
    virtual cv::Size PictureSize() const = 0;
    // Takes the pass the world has just made.
    virtual void Follow(const RobotSimulation& sim) = 0;
    // The picture of the pass last followed, upright, CV_8UC3 (BGR) of PictureSize().
    virtual cv::Mat Picture() = 0;
};

// Makes the panel of a run steered by `table`; empty in a program that draws none.
using PassPanelMaker = std::function<std::unique_ptr<PassPanel>(const InferenceTable& table)>;
