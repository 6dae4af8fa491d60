#pragma once
#include <QPixmap>
#include <QWidget>

#include "app/InferenceReading.h"

class QPainter;

// The picture of one pass of the fuzzy reasoning: each sector's distance on its ramp,
// the eight truths as bars with their situation pictures and the winner marked, the
// S1/S6 signs and the command. It only paints what it is given.
class InferencePlot : public QWidget {
public:
    explicit InferencePlot(QWidget* parent = nullptr);

    // Nothing to show yet: the run has not made its first pass.
    void Clear();
    // Takes the reading without repainting: whoever calls decides when it shows.
    void SetReading(const InferenceReading& reading);
    const InferenceReading& Reading() const { return m_reading; }
    // A line under the command: the pace, the pause.
    void SetStatus(const QString& status);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect SectorArea(int sector) const;
    QRect RampArea(int sector) const;
    QRect TruthsArea() const;
    QRect CommandArea() const;
    double RampX(const QRect& ramp, double distance) const;

    void PaintRamp(QPainter& painter, int sector) const;
    void PaintSectorValues(QPainter& painter, int sector) const;
    void PaintTruthFrames(QPainter& painter) const;
    void PaintTruthValues(QPainter& painter) const;
    void PaintCommand(QPainter& painter) const;

    QPixmap m_pictures[InferenceTable::kSituations];
    InferenceReading m_reading;
    bool m_hasReading = false;
    QString m_status;
    // Everything that stays while the ramp, the size and the status do; null: to redraw.
    QPixmap m_background;
};
