#pragma once
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <string>

// What a viewer shows after the whole GIF has played: every image laid over the previous
// ones, its see-through index left out. Counts the images that carry a delay: the frames.
struct PlayedGif {
    cv::Mat3b last;
    int frames = 0;
    int delay = 0;
    int width = 0, height = 0;
};

inline PlayedGif PlayGif(const std::string& path)
{
    PlayedGif played;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "cannot read " << path;
        if (gif) DGifCloseFile(gif, &error);
        return played;
    }
    played.width = gif->SWidth;
    played.height = gif->SHeight;
    played.last = cv::Mat3b(gif->SHeight, gif->SWidth, cv::Vec3b(0, 0, 0));
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &control);
        if (control.DelayTime > 0) {
            ++played.frames;
            played.delay = control.DelayTime;
        }
        const ColorMapObject* palette = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        for (int row = 0; row < image.ImageDesc.Height; ++row)
            for (int column = 0; column < image.ImageDesc.Width; ++column) {
                const int index = image.RasterBits[row * image.ImageDesc.Width + column];
                if (index == control.TransparentColor) continue;
                const GifColorType colour = palette->Colors[index];
                played.last(image.ImageDesc.Top + row, image.ImageDesc.Left + column) =
                    cv::Vec3b(colour.Blue, colour.Green, colour.Red);
            }
    }
    DGifCloseFile(gif, &error);
    return played;
}
