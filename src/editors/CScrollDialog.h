#pragma once

#include <QDialog>
#include <QSize>

class QScrollArea;

// A dialog the user may resize below its designed size: its form scrolls, its buttons stay
// visible below the scrolled area, and a size grip sits in the bottom-right corner.
class CScrollDialog : public QDialog {
    Q_OBJECT
public:
    explicit CScrollDialog(QWidget* parent = nullptr);
    ~CScrollDialog() override;

    // Room left around a window for its frame and title bar.
    static constexpr QSize kFrameAllowance{16, 48};

    // The window size for a dialog designed at `designed` on a screen offering `available`: the
    // designed size where it fits, otherwise no more than the screen minus the frame; a form cut
    // in height gets room for its vertical scroll bar (`scrollBar` pixels wide).
    [[nodiscard]] static QSize FittedSize(QSize designed, QSize available, int scrollBar);

    // The size at which the whole form shows without scrolling.
    [[nodiscard]] QSize DesignedSize() const { return designedSize; }

    QScrollArea* scrollArea;

protected:
    // Puts `form` in the scrolled area and `buttons` under it, then sizes the window to the
    // screen it opens on.
    void SetContents(QWidget* form, QWidget* buttons);

private:
    void keepFocusVisible(QWidget* old, QWidget* now);

    QSize designedSize;
};
