#pragma once
#include <QWidget>

#include "reasoning/InferencePicture.h"

// The window's picture of one pass of the reasoning, drawn by InferencePicture in the
// window's palette and font.
class InferencePlot : public QWidget {
public:
    explicit InferencePlot(QWidget* parent = nullptr);

    // Nothing to show yet: the run has not made its first pass.
    void Clear();
    // Takes the reading without repainting: whoever calls decides when it shows.
    void SetReading(const InferenceReading& reading) { m_picture.SetReading(reading); }
    const InferenceReading& Reading() const { return m_picture.Reading(); }
    // A line under the command: the pace, the pause.
    void SetStatus(const QString& status);

    QSize sizeHint() const override { return InferencePicture::Size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    InferencePicture m_picture;
};
