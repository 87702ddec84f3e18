#pragma once

#include "render/Surface.h"

#include <QFrame>

#include <functional>

// A preview that shows a drawing of the renderer one surface pixel per screen pixel, so what the
// user sees is what the panel shows. The surface has the view's size and starts in the window's
// background colour; the owner's painter draws on it.
class SurfaceView : public QFrame {
    Q_OBJECT
public:
    using Painter = std::function<void(Surface& surface)>;

    explicit SurfaceView(QWidget* parent = nullptr);
    // A dialog's preview: named "Preview", of a fixed size, drawn by `painter`.
    SurfaceView(QWidget* parent, QSize size, Painter painter);

    void SetPainter(Painter painter);
    // The drawing as the next paint shows it; tests compare it with the renderer's own.
    [[nodiscard]] Surface Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter painter;
};
