#pragma once
#include <opencv2/core.hpp>
#include <string>

#include "common/FrameRecorder.h"

// An animated GIF that loops for ever, every colour exact: each image gets a palette of the
// colours it holds, a frame of more than 256 colours being stored in bands of at most 256
// (never quantised). Only the rectangle that changed since the previous frame is stored,
// over it.
std::unique_ptr<FrameRecorder> OpenGifRecorder(const std::string& path, int framesPerSecond, cv::Size frameSize);
