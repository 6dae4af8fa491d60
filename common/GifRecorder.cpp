#include "common/GifRecorder.h"

#include <cmath>
#include <gif_lib.h>
#include <memory>
#include <opencv2/imgproc.hpp>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "common/AtomicFile.h"

namespace {

constexpr int kMaximumColours = 256;

struct GifCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

class GifRecorder : public FrameRecorder {
public:
    GifRecorder(const std::string& path, int framesPerSecond, cv::Size frameSize)
        : m_path(path), m_file(path), m_size(frameSize),
          // GIF counts delays in hundredths of a second.
          m_delay(std::max(1, static_cast<int>(std::lround(100.0 / framesPerSecond))))
    {
        int error = 0;
        if (m_file.IsOpen()) m_gif.reset(EGifOpenFileName(m_file.TemporaryPath().c_str(), false, &error));
        if (!m_gif) Fail(m_file.IsOpen() ? GifErrorString(error) : m_file.Error());
        EGifSetGifVersion(m_gif.get(), true);
        Check(EGifPutScreenDesc(m_gif.get(), m_size.width, m_size.height, 8, 0, nullptr));
        // The NETSCAPE2.0 block with a loop count of 0: play again and again.
        const GifByteType loop[3] = {1, 0, 0};
        Check(EGifPutExtensionLeader(m_gif.get(), APPLICATION_EXT_FUNC_CODE));
        Check(EGifPutExtensionBlock(m_gif.get(), 11, "NETSCAPE2.0"));
        Check(EGifPutExtensionBlock(m_gif.get(), 3, loop));
        Check(EGifPutExtensionTrailer(m_gif.get()));
    }

    void Add(const cv::Mat& frame) override
    {
        if (frame.size() != m_size || frame.type() != CV_8UC3)
            throw std::runtime_error("--video: a frame of another size or type for '" + m_path + "'");
        WritePart(frame, ChangedArea(frame));
        frame.copyTo(m_previous);
        ++m_frames;
    }

    void Finish() override
    {
        int error = 0;
        const int closed = EGifCloseFile(m_gif.release(), &error);
        if (closed != GIF_OK) Fail(GifErrorString(error));
        if (!m_file.Commit()) Fail(m_file.Error());
    }

private:
    [[noreturn]] void Fail(const char* why) const
    {
        throw std::runtime_error("--video: cannot write '" + m_path + "'" + (why ? std::string(": ") + why : ""));
    }
    [[noreturn]] void Fail(const std::string& why) const { Fail(why.c_str()); }

    void Check(int status) const
    {
        if (status != GIF_OK) Fail(GifErrorString(m_gif->Error));
    }

    // The smallest rectangle holding every pixel that differs from the previous frame; the
    // whole frame first, and one pixel when nothing moved (a frame must hold an image).
    cv::Rect ChangedArea(const cv::Mat& frame) const
    {
        if (m_previous.empty()) return {0, 0, m_size.width, m_size.height};
        cv::Mat difference;
        cv::absdiff(frame, m_previous, difference);
        // A change in any one channel, however small: a grey level would round a step of
        // one in blue away, and the GIF would keep the old colour.
        cv::Mat unchanged, changed;
        cv::inRange(difference, cv::Scalar::all(0), cv::Scalar::all(0), unchanged);
        cv::bitwise_not(unchanged, changed);
        std::vector<cv::Point> points;
        cv::findNonZero(changed, points);
        return points.empty() ? cv::Rect(0, 0, 1, 1) : cv::boundingRect(points);
    }

    // A part of a frame with a palette of exactly the colours it holds. Over a previous
    // frame, index 0 is see-through and stands for every pixel that did not change, so the
    // arena's shades need not be in the palette again.
    struct Band {
        explicit Band(bool overPrevious)
            : seeThrough(overPrevious), colours(overPrevious ? 1 : 0, GifColorType{0, 0, 0})
        {
        }
        bool seeThrough;
        std::unordered_map<std::uint32_t, GifPixelType> index;
        std::vector<GifColorType> colours;
        std::vector<GifPixelType> pixels;
        int rows = 0;
    };

    static std::uint32_t Key(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        return (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
    }

    // Adds one row to the band; false, with the band as it was, when the row's new colours
    // would take the palette past 256.
    static bool AddRow(const cv::Vec3b* row, const cv::Vec3b* previousRow, int width, Band& band)
    {
        const std::size_t coloursBefore = band.colours.size(), pixelsBefore = band.pixels.size();
        for (int column = 0; column < width; ++column) {
            const cv::Vec3b bgr = row[column];
            if (band.seeThrough && bgr == previousRow[column]) {
                band.pixels.push_back(0);
                continue;
            }
            auto found = band.index.find(Key(bgr[2], bgr[1], bgr[0]));
            if (found == band.index.end()) {
                if (band.colours.size() == kMaximumColours) {
                    for (std::size_t i = coloursBefore; i < band.colours.size(); ++i)
                        band.index.erase(Key(band.colours[i].Red, band.colours[i].Green, band.colours[i].Blue));
                    band.colours.resize(coloursBefore);
                    band.pixels.resize(pixelsBefore);
                    return false;
                }
                found = band.index.emplace(Key(bgr[2], bgr[1], bgr[0]), static_cast<GifPixelType>(band.colours.size()))
                            .first;
                band.colours.push_back({bgr[2], bgr[1], bgr[0]});
            }
            band.pixels.push_back(found->second);
        }
        ++band.rows;
        return true;
    }

    // The area of the frame in bands of at most 256 colours each. The arena's smoothed edges
    // alone hold some 400 shades, so the first frame needs two or three bands; only the last
    // carries the frame's delay, the others show at once.
    void WritePart(const cv::Mat& frame, const cv::Rect& area)
    {
        const bool overPrevious = !m_previous.empty();
        Band band(overPrevious);
        for (int row = area.y; row < area.y + area.height;) {
            const cv::Vec3b* previousRow = overPrevious ? m_previous.ptr<cv::Vec3b>(row) + area.x : nullptr;
            if (AddRow(frame.ptr<cv::Vec3b>(row) + area.x, previousRow, area.width, band)) {
                ++row;
                continue;
            }
            if (band.rows == 0)
                throw std::runtime_error("--video: a row of frame " + std::to_string(m_frames + 1) +
                                         " holds more than 256 colours; a GIF cannot show it exactly");
            WriteBand(band, cv::Point(area.x, row - band.rows), area.width, 0);
            band = Band(overPrevious);
        }
        WriteBand(band, cv::Point(area.x, area.y + area.height - band.rows), area.width, m_delay);
    }

    void WriteBand(Band& band, cv::Point at, int width, int delay)
    {
        int tableSize = 2;  // GIF palettes hold a power of two colours
        while (tableSize < static_cast<int>(band.colours.size())) tableSize *= 2;
        band.colours.resize(tableSize, GifColorType{0, 0, 0});

        const GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, band.seeThrough ? 0 : NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        Check(EGifPutExtension(m_gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension));
        ColorMapObject* palette = GifMakeMapObject(tableSize, band.colours.data());
        if (!palette) throw std::bad_alloc();
        const int described = EGifPutImageDesc(m_gif.get(), at.x, at.y, width, band.rows, false, palette);
        GifFreeMapObject(palette);
        Check(described);
        for (int row = 0; row < band.rows; ++row)
            Check(EGifPutLine(m_gif.get(), band.pixels.data() + static_cast<std::size_t>(row) * width, width));
    }

    std::string m_path;
    AtomicFile m_file;
    cv::Size m_size;
    int m_delay;
    std::unique_ptr<GifFileType, GifCloser> m_gif;
    cv::Mat m_previous;
    long long m_frames = 0;
};

}  // namespace

std::unique_ptr<FrameRecorder> OpenGifRecorder(const std::string& path, int framesPerSecond, cv::Size frameSize)
{
    return std::make_unique<GifRecorder>(path, framesPerSecond, frameSize);
}
