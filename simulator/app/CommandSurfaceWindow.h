#pragma once
#include <QLabel>
#include <QSlider>
#include <QWidget>

#include "interop/TableEngine.h"
#include "world/InferenceTable.h"

// The window "Surface de commande": the angle and the speed the table commands over the
// left and right distances, at the front distance chosen on the slider. It follows the
// dialog's table: every change of a field redraws it.
class CommandSurfaceWindow : public QWidget {
public:
    explicit CommandSurfaceWindow(QWidget* parent = nullptr);

    void SetTable(const InferenceTable& table);
    double FrontDistance() const;
    // The picture shown, for tests; null before the first drawing.
    QImage Picture() const;
    int RedrawCount() const { return m_redraws; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Redraw();

    static constexpr int kSliderStepsPerPixel = 10;

    RampBounds m_ramp;
    InferenceTable m_table;
    QSlider* m_front;
    QLabel* m_frontLabel;
    QLabel* m_picture;
    int m_redraws = 0;
};
