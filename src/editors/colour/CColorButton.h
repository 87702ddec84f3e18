#pragma once

#include "editors/colour/ColourChoice.h"

#include <QPointer>
#include <QPushButton>
#include <QString>

#include <cstdint>

class CColourPopup;
class UiHost;

// A push button showing a colour in a box beside a drop-down arrow; a click opens a
// CColourPopup below it. The dialog that holds it reads and sets `color` directly (and calls
// update() after setting it).
class CColorButton : public QPushButton {
    Q_OBJECT
public:
    // The notifications a holder hears, as the signals below; the numbers are their message IDs.
    enum Notification : int {
        MSG_COLOR_CHANGED = 2025,   // colorChanged
        MSG_COLOR_DROPDOWN = 2026,  // colorDropDown
        MSG_COLOR_CLOSEUP = 2027,   // colorCloseUp
        MSG_COLOR_ACCEPTED = 2028,  // colorAccepted
        MSG_COLOR_CANCELLED = 2029, // colorCancelled
    };

    explicit CColorButton(UiHost& ui, QWidget* parent = nullptr);

    // The colour the box shows: defaultColor while `color` is "Automatic".
    [[nodiscard]] std::uint32_t ShownColor() const;
    // The open popup, or null.
    [[nodiscard]] CColourPopup* Popup() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    std::uint32_t color = kAutomaticColor;
    // Stands for the workspace colour.
    std::uint32_t defaultColor;
    QString defaultText = "Automatic";
    QString customText = "More Colors...";
    bool popupActive = false;
    bool trackSelection = false;

signals:
    void colorChanged(std::uint32_t color, CColorButton* button);
    void colorDropDown(std::uint32_t color, CColorButton* button);
    void colorCloseUp(std::uint32_t color, CColorButton* button);
    void colorAccepted(std::uint32_t color, CColorButton* button);
    void colorCancelled(std::uint32_t color, CColorButton* button);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnClicked();
    // From the popup: hovering (2025), acceptance (2028) and cancellation (2029).
    void OnSelChange(std::uint32_t c);
    void OnSelEndOK(std::uint32_t c);
    void OnSelEndCancel(std::uint32_t c);

    UiHost& ui;
    QPointer<CColourPopup> popup;
};
