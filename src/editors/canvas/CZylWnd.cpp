#include "editors/canvas/CZylWnd.h"

#include "editors/canvas/CanvasZoom.h"
#include "editors/canvas/CanvasAccessible.h"
#include "editors/UndoSteps.h"
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
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QWheelEvent>

namespace {

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

// The undo entry's name for an add command: the menu's own words.
QString addStepName(int command) {
    switch (command) {
    case CZylWnd::kAddImage:
        return "Add Image";
    case CZylWnd::kAddButton:
        return "Add Button";
    case CZylWnd::kAddSelector:
        return "Add Selection";
    case CZylWnd::kAddHotspot:
        return "Add Hot Spot";
    default:
        return "Add Level Slider";
    }
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
    InstallCanvasAccessibility();
    setObjectName("ZylWnd");
    setAccessibleName("Page");
    // The page covers the whole canvas, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The status line follows the pointer without a button held.
    setMouseTracking(true);
    if (const QScreen* shown = screen())
        openingZoom = ::OpeningZoom(shown->physicalDotsPerInch(), shown->devicePixelRatio());
    SetZoom(openingZoom);
    // The zoom keys work anywhere in the editor's window, as in other programs; no field types them.
    const auto zoomKey = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    zoomKey(QKeySequence::ZoomIn, [this] { SetZoom(zoom + 1); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { SetZoom(zoom + 1); });
    zoomKey(QKeySequence::ZoomOut, [this] { SetZoom(zoom - 1); });
    zoomKey(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { SetZoom(openingZoom); });
}

void CZylWnd::SetZoom(int newZoom) {
    zoom = ClampZoom(newZoom);
    setFixedSize(kScreenWidth * zoom, kScreenHeight * zoom);
    // The layouts around the canvas take the new size now, innermost first, so the window has
    // grown or shrunk with it before it paints again.
    for (QWidget* around = parentWidget(); around != nullptr; around = around->parentWidget()) {
        if (around->layout() != nullptr)
            around->layout()->activate();
        if (around->isWindow())
            break;
    }
    update();
}

CZylWnd::~CZylWnd() {
    // The stack says its index changed as it empties, when those listening may be half gone.
    undoStack.blockSignals(true);
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
            dragStart = CapturePage(*page, selected);
            return;
        }
    }
    // The selected object keeps the selection where it lies under another, so a covered object
    // can still be dragged.
    TUserObject* chosen = selected != nullptr && selected->Contains(x, y) ? selected : page->ObjectAt(x, y);
    if (chosen != selected) {
        selected = chosen;
        CanvasSelectionChanged(*this);
        update();
    }
    lastX = x;
    lastY = y;
    moving = true;
    dragStart = CapturePage(*page, selected);
}

void CZylWnd::OnMouseMove(int x, int y, Qt::KeyboardModifiers modifiers) {
    if (!resizing && !moving)
        return;
    const int dx = x - lastX;
    const int dy = y - lastY;
    lastX = x;
    lastY = y;
    if (selected == nullptr)
        return;
    snappedDrag.Unsnap(*selected);
    const int corner = resizing ? activeCorner : TUserObject::kNoCorner;
    if (resizing)
        selected->ResizeByCorner(activeCorner, dx, dy);
    else
        selected->MoveBy(dx, dy);
    snappedDrag.Snap(*selected, corner, *page, !(modifiers & Qt::AltModifier));
    update();
}

void CZylWnd::OnLButtonUp() {
    EndDrag();
}

void CZylWnd::EndDrag() {
    const bool wasResizing = resizing;
    moving = false;
    resizing = false;
    activeCorner = TUserObject::kNoCorner;
    // The guides belong to the drag; the object stays where they put it.
    if (!snappedDrag.Guides().empty())
        update();
    snappedDrag.Clear();
    if (dragStart) {
        PageState start = std::move(*dragStart);
        dragStart.reset();
        record(wasResizing ? "Resize" : "Move", std::move(start), false);
    }
}

void CZylWnd::Change(const QString& what, const std::function<bool()>& change) {
    // A drag going on is a step of its own.
    EndDrag();
    TUserObject* const selectedBefore = selected;
    PageState before = CapturePage(*page, selected);
    const bool changed = change();
    // A screen reader hears of each new selection, and of a selected object that went away.
    if (selected != selectedBefore || (changed && (what == "Delete" || what == "Load Page")))
        CanvasSelectionChanged(*this);
    if (!changed)
        return;
    update();
    record(what, std::move(before), what == "Move" || what == "Resize");
}

void CZylWnd::record(const QString& what, PageState before, bool mergeable) {
    PageState after = CapturePage(*page, selected);
    if (after.record == before.record)
        return;
    undoStack.push(new PageStep(what, std::move(before), std::move(after), mergeable,
                                [this](const PageState& state) { restore(state); }));
}

void CZylWnd::restore(const PageState& state) {
    // Every object is made anew, so nothing may go on pointing at the old ones.
    moving = false;
    resizing = false;
    activeCorner = TUserObject::kNoCorner;
    dragStart.reset();
    selected = RestorePage(*page, state);
    CanvasSelectionChanged(*this);
    update();
}

void CZylWnd::Undo() {
    EndDrag();
    undoStack.undo();
}

void CZylWnd::Redo() {
    EndDrag();
    undoStack.redo();
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
    case kBackground:
        // An image the face dialog adds stays in the layout's image list after an undo; an image
        // nothing shows is purged when the layout is next encoded.
        Change("Background", [&] {
            CZylFaceDlg dialog(page->owner, ui, this);
            dialog.face.CopyFrom(page->face);
            if (ui.RunDialog(dialog) != QDialog::Accepted)
                return false;
            page->face.CopyFrom(dialog.face);
            return true;
        });
        return;
    case kAddImage:
    case kAddButton:
    case kAddSelector:
    case kAddHotspot:
    case kAddSlider:
        Change(addStepName(command), [&] {
            std::unique_ptr<TUserObject> object = newObject(command);
            if (!object)
                return false;
            object->left = x;
            object->top = y;
            selected = page->AddObject(std::move(object));
            return true;
        });
        return;
    case kProperties:
        if (target != nullptr)
            Change("Properties", [&] {
                ObjectProperties properties(*page, ui, this);
                target->Accept(properties);
                if (properties.selects)
                    selected = target;
                return properties.accepted;
            });
        return;
    case kDelete:
        if (target != nullptr)
            Change("Delete", [&] {
                if (!ui.AskYesNo(this, "Confirm Delete", "Are you sure you want to permanently delete this object ?"))
                    return false;
                page->RemoveObject(target);
                selected = nullptr;
                return true;
            });
        return;
    case kPush:
    case kPull:
        if (target != nullptr)
            Change(command == kPush ? "Push" : "Pull", [&] {
                if (command == kPush)
                    page->Push(target);
                else
                    page->Pull(target);
                return true;
            });
        return;
    case kUndoCommand:
        Undo();
        return;
    case kRedoCommand:
        Redo();
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
    Surface pageImage(kScreenWidth, kScreenHeight);
    PaintPage(pageImage, *page, selected);
    // The canvas's own marks go on in widget pixels, over the page and never into it.
    Surface surface = Magnify(pageImage, zoom);
    DrawGuides(surface, snappedDrag.Guides(), zoom);
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
    const QPoint at = PagePixelAt(event->position(), zoom);
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
    const QPoint at = PagePixelAt(event->position(), zoom);
    pointer = at;
    OnMouseMove(at.x(), at.y(), event->modifiers());
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

void CZylWnd::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    if (const int notches = WheelNotches(wheelPending, event->angleDelta().y()))
        SetZoom(zoom + notches);
    event->accept();
}

void CZylWnd::keyPressEvent(QKeyEvent* event) {
    if (!OnKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
    showStatus();
}

void CZylWnd::Select(TUserObject* object) {
    // A drag belongs to the object it started on.
    EndDrag();
    walkFromSelection = true;
    selected = object;
    CanvasSelectionChanged(*this);
    update();
}

bool CZylWnd::focusNextPrevChild(bool next) {
    if (hasFocus()) {
        TUserObject* from = walkFromSelection ? selected : nullptr;
        if (TUserObject* object = page->NextInOrder(from, next)) {
            Select(object);
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
