#pragma once
#include <QColor>
#include <QPalette>

// The grounds and the text of the reasoning's pictures, as a palette gives them: the
// window's own, or the application's default for a recording.
struct PictureColours {
    QColor ground;         // behind everything
    QColor text;           // words and axes' labels
    QColor columnsGround;  // behind the strip's columns

    static PictureColours Of(const QPalette& palette)
    {
        return {palette.color(QPalette::Base), palette.color(QPalette::Text), palette.color(QPalette::Window)};
    }
    bool operator==(const PictureColours&) const = default;
};
