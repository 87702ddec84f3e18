#include "editors/canvas/SurfaceView.h"

#include <QImage>
#include <QPainter>

SurfaceView::SurfaceView(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
}

SurfaceView::SurfaceView(QWidget* parent, QSize size, Painter painter_) : SurfaceView(parent) {
    setObjectName("preview");
    setAccessibleName("Preview");
    setFixedSize(size);
    painter = std::move(painter_);
}

void SurfaceView::SetPainter(Painter painter_) {
    painter = std::move(painter_);
    update();
}

Surface SurfaceView::Render() const {
    const QColor background = palette().color(QPalette::Window);
    Surface surface(width(), height(), MakeArgb(background.red(), background.green(), background.blue()));
    if (painter)
        painter(surface);
    return surface;
}

void SurfaceView::paintEvent(QPaintEvent*) {
    const Surface surface = Render();
    // Wrapped, not copied: the surface's words are already in the image's pixel layout.
    const QImage image(reinterpret_cast<const uchar*>(surface.Data()), surface.Width(), surface.Height(),
                       surface.Stride(), QImage::Format_RGB32);
    QPainter(this).drawImage(0, 0, image);
}
