#include "PanelScreens.h"
#include "PanelState.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <array>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

// The page's buttons and sliders as the model holds them.
class StateLook : public PanelLook {
public:
    StateLook(const TUserPage& page, std::set<ObjectKey> down, const std::map<ObjectKey, int>& levels)
        : page(page), down(std::move(down)), levels(levels) {}

    bool IsDown(const TUserObject& object) const override { return down.contains(keyOf(object)); }
    int Level(const TUserObject& object) const override {
        const auto found = levels.find(keyOf(object));
        return found == levels.end() ? PanelLook::Level(object) : found->second;
    }

private:
    ObjectKey keyOf(const TUserObject& object) const {
        for (std::size_t i = 0; i < page.objects.size(); ++i)
            if (page.objects[i].get() == &object)
                return {page.pageId, i};
        return {page.pageId, page.objects.size()};
    }

    const TUserPage& page;
    std::set<ObjectKey> down;
    const std::map<ObjectKey, int>& levels;
};

} // namespace

void PanelModel::Draw(Surface& surface) const {
    const State& s = *state;
    Surface screen(kScreenWidth, kScreenHeight, kBlack);
    const GlyphList* glyphs = layout.builtinLibrary ? &layout.builtinLibrary->glyphs : nullptr;
    switch (s.Showing()) {
    case Screen::Sleep:
        if (layout.sleepPage)
            PaintPanelPage(screen, *layout.sleepPage, PanelLook{});
        break;
    case Screen::PinPad: {
        std::vector<std::u16string> lines{u"Enter PIN"};
        if (s.wrongPin)
            lines.emplace_back(u"Wrong PIN");
        DrawKeypadScreen(screen, glyphs, kPanelColors, lines, std::u16string(s.typed.size(), u'*'), s.pressedKey);
        break;
    }
    case Screen::DefaultEntry: {
        const std::u16string line = u"Enter a number";
        DrawKeypadScreen(screen, glyphs, kPanelColors, {&line, 1}, AnsiToUnicode(s.typed), s.pressedKey);
        break;
    }
    case Screen::EntryPage: {
        const CNumericCtrl& page = *s.EntryPage(*s.pageId);
        const ScreenColors colors{ArgbFromColorref(page.backgroundColor), ArgbFromColorref(page.primaryColor),
                                  ArgbFromColorref(page.highlightColor), ArgbFromColorref(page.textColor)};
        DrawKeypadScreen(screen, glyphs, colors, page.textLines, AnsiToUnicode(s.typed), s.pressedKey);
        break;
    }
    case Screen::EightButtons: {
        const CBtn8Ctrl& page = *s.EightButtonPage();
        std::array<std::u16string, CBtn8Ctrl::kButtons> labels;
        for (std::size_t i = 0; i < labels.size(); ++i)
            labels[i] = LoadAnsiSlot(page.buttonLabels[i]);
        DrawEightButtonScreen(screen, glyphs, page.name, labels, s.pressedKey);
        break;
    }
    case Screen::UserPage: {
        const TUserPage& page = *s.UserPage(*s.pageId);
        std::set<ObjectKey> down = s.toggled;
        for (const auto& [group, key] : s.selected)
            down.insert(key);
        if (s.capture == State::Capture::Button)
            down.insert(s.captured);
        PaintPanelPage(screen, page, StateLook(page, std::move(down), s.levels));
        break;
    }
    case Screen::Nothing:
        break;
    }
    surface.Blit(screen, 0, 0);
}
