#pragma once
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include "reasoning/InferenceReading.h"
#include "reasoning/PictureColours.h"

class QPainter;

// The picture of one pass of the fuzzy reasoning: each sector's distance on its ramp,
// the eight truths as bars with their situation pictures and the winner marked, the
// S1/S6 signs and the command. It only paints what it is given, on whatever it is
// given: the window "Inférence floue" and the recordings of marlune-run draw the same.
class InferencePicture {
public:
    InferencePicture();

    // The size the picture is laid out for.
    static QSize Size();

    // Nothing to show yet: the run has not made its first pass.
    void Clear();
    // Takes the reading; it shows at the next Paint.
    void SetReading(const InferenceReading& reading);
    const InferenceReading& Reading() const { return m_reading; }
    // A line under the command: the pace, the pause.
    void SetStatus(const QString& status);

    // Paints the whole picture over (0, 0, size), in the painter's font.
    void Paint(QPainter& painter, QSize size, const PictureColours& colours);

private:
    QRect SectorArea(int sector) const;
    QRect RampArea(int sector) const;
    QRect TruthsArea() const;
    QRect CommandArea() const;
    double RampX(const QRect& ramp, double distance) const;

    void PaintBackground(const QFont& font);
    void PaintRamp(QPainter& painter, int sector) const;
    void PaintSectorValues(QPainter& painter, int sector) const;
    void PaintTruthFrames(QPainter& painter) const;
    void PaintTruthValues(QPainter& painter) const;
    void PaintCommand(QPainter& painter) const;

    QPixmap m_pictures[InferenceTable::kSituations];
    InferenceReading m_reading;
    bool m_hasReading = false;
    QString m_status;
    QSize m_size;
    PictureColours m_colours;
    // Everything that stays while the ramp, the size, the colours and the status do;
    // null: to redraw.
    QImage m_background;
};
