// libFuzzer target for the panel model on a layout from an untrusted file: the first byte counts
// the touch steps that follow, three bytes each (what, x, y); the rest is a template file. Every
// screen the steps reach is drawn, so a page, object or ID the layout got wrong shows here.
#include "layout/TLayout.h"
#include "panel/PanelModel.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t steps = data[0] % 65;
    if (size < 1 + steps * 3)
        return 0;
    TLayout layout;
    if (!layout.LoadTemplateBytes({data + 1 + steps * 3, size - 1 - steps * 3}, "input"))
        return 0;
    PanelModel panel(layout);
    Surface screen(320, 240);
    for (std::size_t i = 0; i < steps; ++i) {
        const std::uint8_t* step = data + 1 + i * 3;
        // Points reach a little past every edge, where nothing may be touched.
        const int x = step[1] * 340 / 256 - 10;
        const int y = step[2] * 260 / 256 - 10;
        switch (step[0] % 6) {
        case 0: panel.Tap(x, y); break;
        case 1: panel.Down(x, y); break;
        case 2: panel.Move(x, y); break;
        case 3: panel.Up(); break;
        case 4: panel.Advance(std::int64_t{step[1]} * step[2] * 1000); break;
        default: panel.LayoutChanged(); break;
        }
        panel.Draw(screen);
        if (screen.Width() != 320 || screen.Height() != 240)
            __builtin_trap();
    }
    return 0;
}
