#pragma once
#include <opencv2/core.hpp>

#include <QString>

// The band above the arena in which the simulation window tells its user what to do.
// It is a picture of its own beside the world's frame, so the arena's pixels are never
// covered, and Qt draws its text, so the French accents come out right.
class HintBand {
public:
    // The band for pictures `width` pixels wide, empty and as high as one line.
    explicit HintBand(int width);

    // Writes the text (several lines, each wrapped to the width). The band keeps the
    // height of the longest text it has shown, so the window does not jump as the hints
    // change.
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    int Width() const { return m_picture.cols; }
    // The band as a BGR picture, as highgui shows it.
    const cv::Mat& Picture() const { return m_picture; }

private:
    QString m_text;
    cv::Mat m_picture;
};
