#pragma once

#include "layout/TLayout.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

class PanelModel;
class PanelScreenView;

// The simulated panel's screen: the layout it holds, run on the panel model, drawn as the panel
// shows it and touched with the mouse. Each stored layout replaces it at once, as the panel
// restarts on it; what the panel does goes to `out` one line each, as `zylctl try` prints it.
// The model's clock follows the machine's, caught up before each touch and at each timeout.
class SimScreenWindow : public QWidget {
    Q_OBJECT
public:
    SimScreenWindow(std::ostream& out, std::ostream& err, QWidget* parent = nullptr);
    ~SimScreenWindow() override;

    // A layout image the panel stored. One that does not decode leaves the screen as it was and
    // says why on `err`.
    void LayoutStored(const std::vector<std::uint8_t>& image);

    PanelScreenView& Screen() { return *screen; }
    PanelModel& Model() { return *model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void catchUp();
    void showModel();

    std::ostream& out;
    std::ostream& err;
    TLayout layout;
    std::unique_ptr<PanelModel> model;
    PanelScreenView* screen;
    QElapsedTimer clock;
    QTimer timeout;
    std::size_t printed = 0;
};
