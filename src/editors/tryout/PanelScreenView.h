#pragma once

#include "render/Surface.h"

#include <QWidget>

class PanelModel;

// The panel's screen as a model shows it, enlarged 1x to 4x without smoothing, with the mouse as
// the finger: a press, a drag and a release at page pixels reach the model as Down, Move and Up.
// The screen is drawn again only when the owner says (Refresh), so a paint never reaches the
// layout between an edit and the model's LayoutChanged.
class PanelScreenView : public QWidget {
    Q_OBJECT
public:
    // The frame around the screen that shows the keyboard focus, outside the panel's pixels.
    static constexpr int kMargin = 2;

    explicit PanelScreenView(PanelModel& model, QWidget* parent = nullptr);

    [[nodiscard]] int Zoom() const { return zoom; }
    void SetZoom(int zoom);
    // Draws the model's screen again; repaints only when it changed.
    void Refresh();
    // The screen as last drawn, 320 x 240.
    [[nodiscard]] const Surface& Screen() const { return screen; }

signals:
    // The finger went down, moved or lifted; the model may have changed.
    void touched();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] QPoint pagePixel(QPointF widgetPosition) const;

    PanelModel& model;
    Surface screen;
    int zoom = 1;
    bool fingerDown = false;
};
