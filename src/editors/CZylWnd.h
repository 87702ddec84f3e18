#pragma once

#include <QWidget>

#include <cstdint>

class TUserObject;
class TUserPage;

// The user page editor's canvas: shows one page 1:1 as the panel will and lets the user select,
// move and resize its objects with the left mouse button. Every change goes straight to the page,
// which belongs to the layout; the canvas keeps no copy.
class CZylWnd : public QWidget {
    Q_OBJECT
public:
    explicit CZylWnd(TUserPage& page, QWidget* parent = nullptr);

    // The drag steps, in canvas pixels (which are panel pixels). The mouse events call them; so
    // may anything that plays the user.
    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp();

    TUserPage* page;
    // Always one of page->objects, or null.
    TUserObject* selected = nullptr;
    std::int32_t lastX = 0;
    std::int32_t lastY = 0;
    bool moving = false;
    bool resizing = false;
    // The corner being dragged while resizing, 1 top-left to 4 bottom-left.
    std::int32_t activeCorner = 0;
    // Chooses the sleep page's smaller context menu.
    bool isSleepPage = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
