#include "editors/canvas/CZylWnd.h"

#include "editors/dialogs/CZylFaceDlg.h"
#include "editors/dialogs/ObjectProperties.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"
#include "render/Surface.h"

#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

// The page pixel under a point; a fractional position lies inside the pixel it falls in.
QPoint PixelAt(QPointF position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

// What an add command starts from before its dialog: the kind's defaults at the default size.
std::unique_ptr<TUserObject> defaultObject(int command) {
    std::unique_ptr<TUserObject> object;
    int width = CZylWnd::kObjectWidth;
    int height = CZylWnd::kObjectHeight;
    switch (command) {
    case CZylWnd::kAddImage: {
        auto image = std::make_unique<TUserImage>();
        image->face.kind = TUserFace::kImage;
        object = std::move(image);
        break;
    }
    case CZylWnd::kAddButton:
    case CZylWnd::kAddSelector: {
        auto button = std::make_unique<TUserButton>();
        if (command == CZylWnd::kAddSelector)
            button->selectorId = 1;
        object = std::move(button);
        break;
    }
    case CZylWnd::kAddHotspot:
        object = std::make_unique<TUserHotspot>();
        break;
    default:
        object = std::make_unique<TUserLevel>();
        width = CZylWnd::kSliderWidth;
        height = CZylWnd::kSliderHeight;
        break;
    }
    object->width = width;
    object->height = height;
    return object;
}

// The focus frame: every other pixel of the canvas's edge inverted, so whatever the page shows
// there, an object's last pixel included, stays recognisable.
void DrawFocusFrame(Surface& surface) {
    const int right = surface.Width() - 1;
    const int bottom = surface.Height() - 1;
    const auto invert = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            surface.SetPixel(x, y, surface.Pixel(x, y) ^ 0x00FFFFFFu);
    };
    for (int x = 0; x <= right; ++x) {
        invert(x, 0);
        invert(x, bottom);
    }
    for (int y = 1; y < bottom; ++y) {
        invert(0, y);
        invert(right, y);
    }
}

} // namespace

std::vector<MenuItem> CZylWnd::ContextMenu(bool sleepPage, bool onObject) {
    std::vector<MenuItem> items{{"Background", kBackground, {}}};
    if (sleepPage)
        items.push_back({"Add Image", kAddImage, {}});
    else
        items.push_back({"Add",
                         0,
                         {{"Image", kAddImage, {}},
                          {"Button", kAddButton, {}},
                          {"Selection", kAddSelector, {}},
                          {"Hot Spot", kAddHotspot, {}},
                          {"Level Slider", kAddSlider, {}}}});
    if (onObject) {
        items.push_back({"Properties", kProperties, {}});
        items.push_back({"Delete", kDelete, {}});
    }
    items.push_back({"Push", kPush, {}});
    items.push_back({"Pull", kPull, {}});
    return items;
}

CZylWnd::CZylWnd(TUserPage& page_, UiHost& ui_, QWidget* parent) : QWidget(parent), page(&page_), ui(ui_) {
    setObjectName("ZylWnd");
    setAccessibleName("Page");
    setFixedSize(kScreenWidth, kScreenHeight);
    // The page covers the whole canvas, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The status line follows the pointer without a button held.
    setMouseTracking(true);
}

void CZylWnd::OnLButtonDown(int x, int y) {
    EndDrag();
    walkFromSelection = true;
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
    EndDrag();
}

void CZylWnd::EndDrag() {
    moving = false;
    resizing = false;
    activeCorner = TUserObject::kNoCorner;
}

void CZylWnd::Change(const QString&, const std::function<bool()>& change) {
    if (change())
        update();
}

std::optional<QPoint> CZylWnd::ArrowStep(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return std::nullopt;
    const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
    switch (key) {
    case Qt::Key_Left:
        return QPoint(-step, 0);
    case Qt::Key_Right:
        return QPoint(step, 0);
    case Qt::Key_Up:
        return QPoint(0, -step);
    case Qt::Key_Down:
        return QPoint(0, step);
    default:
        return std::nullopt;
    }
}

void CZylWnd::OnRButtonDown(int x, int y) {
    // The popup takes the mouse, so the left button's release may never come here.
    EndDrag();
    popUpMenu(x, y, page->ObjectAt(x, y));
}

void CZylWnd::OnCommand(int command, int x, int y, TUserObject* target) {
    switch (command) {
    case kBackground: {
        CZylFaceDlg dialog(page->owner, ui, this);
        dialog.face.CopyFrom(page->face);
        if (ui.RunDialog(dialog) == QDialog::Accepted) {
            page->face.CopyFrom(dialog.face);
            update();
        }
        return;
    }
    case kAddImage:
    case kAddButton:
    case kAddSelector:
    case kAddHotspot:
    case kAddSlider:
        if (std::unique_ptr<TUserObject> object = newObject(command)) {
            object->left = x;
            object->top = y;
            selected = page->AddObject(std::move(object));
            update();
        }
        return;
    case kProperties:
        if (target != nullptr) {
            ObjectProperties properties(*page, ui, this);
            target->Accept(properties);
            if (properties.selects)
                selected = target;
            if (properties.accepted)
                update();
        }
        return;
    case kDelete:
        if (target != nullptr &&
            ui.AskYesNo(this, "Confirm Delete", "Are you sure you want to permanently delete this object ?")) {
            page->RemoveObject(target);
            selected = nullptr;
            update();
        }
        return;
    case kPush:
        if (target != nullptr) {
            page->Push(target);
            update();
        }
        return;
    case kPull:
        if (target != nullptr) {
            page->Pull(target);
            update();
        }
        return;
    case kCut:
    case kCopy:
    case kPaste:
    case kDuplicate:
    case kPositionSize:
        editCommand(command, QPoint(x, y), target);
        return;
    default:
        return;
    }
}

std::unique_ptr<TUserObject> CZylWnd::newObject(int command) {
    std::unique_ptr<TUserObject> object = defaultObject(command);
    // A new object is edited in the same dialog as an existing one, starting from its defaults.
    ObjectProperties edit(*page, ui, this);
    object->Accept(edit);
    if (!edit.accepted)
        return nullptr;
    return object;
}

void CZylWnd::paintEvent(QPaintEvent*) {
    Surface surface(kScreenWidth, kScreenHeight);
    PaintPage(surface, *page, selected);
    if (hasFocus())
        DrawFocusFrame(surface);
    // Wrapped, not copied: the surface's words are already in the image's pixel layout.
    const QImage image(reinterpret_cast<const uchar*>(surface.Data()), surface.Width(), surface.Height(),
                       surface.Stride(), QImage::Format_RGB32);
    QPainter painter(this);
    // On a high-density screen each page pixel becomes a sharp block rather than a blur.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), image);
    // Every change repaints, so the status line follows whatever the canvas shows.
    showStatus();
}

// Qt grabs the mouse for this widget while a button is held, which keeps a drag going when the
// pointer leaves the canvas; the grab ends with the release.
void CZylWnd::mousePressEvent(QMouseEvent* event) {
    const QPoint at = PixelAt(event->position());
    pointer = at;
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(at.x(), at.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(at.x(), at.y());
    else
        EndDrag();
    showStatus();
    QWidget::mousePressEvent(event);
}

void CZylWnd::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = PixelAt(event->position());
    pointer = at;
    OnMouseMove(at.x(), at.y());
    showStatus();
    QWidget::mouseMoveEvent(event);
}

void CZylWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp();
    else
        EndDrag();
    QWidget::mouseReleaseEvent(event);
}

void CZylWnd::keyPressEvent(QKeyEvent* event) {
    if (!OnKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
    showStatus();
}

bool CZylWnd::focusNextPrevChild(bool next) {
    if (hasFocus()) {
        TUserObject* from = walkFromSelection ? selected : nullptr;
        if (TUserObject* object = page->NextInOrder(from, next)) {
            // A drag belongs to the object it started on.
            EndDrag();
            walkFromSelection = true;
            selected = object;
            update();
            return true;
        }
    }
    return QWidget::focusNextPrevChild(next);
}

void CZylWnd::focusInEvent(QFocusEvent* event) {
    walkFromSelection = event->reason() != Qt::TabFocusReason && event->reason() != Qt::BacktabFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void CZylWnd::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}
