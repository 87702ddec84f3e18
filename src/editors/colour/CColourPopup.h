#pragma once

#include "editors/colour/ColourChoice.h"

#include <QString>
#include <QWidget>

#include <cstdint>

class CColorButton;
class UiHost;

// The borderless window a CColorButton opens below itself: "Automatic", the 40-colour grid and
// "More Colors...". It reports hovering, acceptance and cancellation to its button and deletes
// itself when the choice ends. As a Qt::Popup it has the mouse and keyboard while it is open.
// Screen readers meet it as a menu of named entries (colour/ColourPopupAccessible).
class CColourPopup : public QWidget {
    Q_OBJECT
public:
    // `bottomLeft` is the global position of the button's bottom-left corner.
    CColourPopup(QPoint bottomLeft, std::uint32_t color, CColorButton& owner, const QString& defaultText,
                 const QString& customText, UiHost& ui);

    // Selects entry `index` and reports the colour it stands for.
    void ChangeSelection(int index);
    // Ends the choice: accepted (through the colour dialog for "More Colors...") or cancelled.
    void EndSelection(bool accepted);
    // The tooltip at a point: the name of the cell under it.
    [[nodiscard]] QString ToolTipAt(QPoint point) const;

    std::uint32_t initialColor;
    std::uint32_t currentColor;
    CColorButton* ownerButton;
    QString defaultText;
    QString customText;
    int selected = kNoIndex;
    int chosen = kNoIndex;
    int margin;
    int boxSize;
    // Sizes and the two text rectangles, in window coordinates.
    PopupGeometry popupGeometry;
    bool colorDialogOpen = false;

signals:
    void selectionChanged(std::uint32_t color);
    void selectionAccepted(std::uint32_t color);
    void selectionCancelled(std::uint32_t color);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void drawEntry(QPainter& painter, int index, const QRect& rect) const;

    UiHost& ui;
    bool ended = false;
};
