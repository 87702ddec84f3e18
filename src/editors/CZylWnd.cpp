#include "CZylWnd.h"

#include "layout/TUserObject.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"
#include "render/Surface.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

// The page pixel under a point; a fractional position lies inside the pixel it falls in.
QPoint PixelAt(QPointF position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

} // namespace

CZylWnd::CZylWnd(TUserPage& page_, UiHost& ui_, QWidget* parent) : QWidget(parent), page(&page_), ui(ui_) {
    setObjectName("ZylWnd");
    setAccessibleName("Page");
    setFixedSize(kScreenWidth, kScreenHeight);
    // The page covers the whole canvas, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CZylWnd::OnLButtonDown(int x, int y) {
    if (selected != nullptr) {
        const int corner = selected->HitTestCorner(x, y);
        if (corner != TUserObject::kNoCorner) {
            activeCorner = corner;
            lastX = x;
            lastY = y;
            resizing = true;
            return;
        }
    }
    // The selected object keeps the selection where it lies under another, so a covered object
    // can still be dragged.
    TUserObject* chosen = selected != nullptr && selected->Contains(x, y) ? selected : page->ObjectAt(x, y);
    if (chosen != selected) {
        selected = chosen;
        update();
    }
    lastX = x;
    lastY = y;
    moving = true;
}

void CZylWnd::OnMouseMove(int x, int y) {
    if (resizing) {
        const int dx = x - lastX;
        const int dy = y - lastY;
        lastX = x;
        lastY = y;
        if (selected != nullptr) {
            selected->ResizeByCorner(activeCorner, dx, dy);
            update();
        }
    }
    if (moving) {
        const int dx = x - lastX;
        const int dy = y - lastY;
        lastX = x;
        lastY = y;
        if (selected != nullptr) {
            selected->MoveBy(dx, dy);
            update();
        }
    }
}

void CZylWnd::OnLButtonUp() {
    if (moving)
        moving = false;
    else if (resizing)
        resizing = false;
}

void CZylWnd::paintEvent(QPaintEvent*) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, *page, selected);
    // Wrapped, not copied: the surface's words are already in the image's pixel layout.
    const QImage image(reinterpret_cast<const uchar*>(surface.Data()), surface.Width(), surface.Height(),
                       surface.Stride(), QImage::Format_RGB32);
    QPainter painter(this);
    // On a high-density screen each page pixel becomes a sharp block rather than a blur.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image);
}

// Qt grabs the mouse for this widget while a button is held, which keeps a drag going when the
// pointer leaves the canvas; the grab ends with the release.
void CZylWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = PixelAt(event->position());
        OnLButtonDown(at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
}

void CZylWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = PixelAt(event->position());
    OnMouseMove(at.x(), at.y());
    QWidget::mouseMoveEvent(event);
}

void CZylWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp();
    QWidget::mouseReleaseEvent(event);
}
