#include "TestPages.h"

#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <string>

namespace {

constexpr std::int32_t kWhiteRef = 0x00FFFFFF;
constexpr std::int32_t kDarkRef = 0x00302820;

void caption(TUserFace& face, std::u16string text, std::int32_t size, std::int32_t color = kWhiteRef) {
    face.text = std::move(text);
    face.textSize = size;
    face.textColor = color;
}

void frame(TUserFace& face, std::int32_t imageId) {
    face.kind = TUserFace::kButtonFace;
    face.value = imageId;
}

void picture(TUserFace& face, std::int32_t imageId) {
    face.kind = TUserFace::kImage;
    face.value = imageId;
}

void colour(TUserFace& face, std::int32_t mode, std::int32_t from, std::int32_t to = 0) {
    face.kind = TUserFace::kColor;
    face.value = mode;
    face.color1 = from;
    face.color2 = to;
}

TUserPage& addPage(TLayout& layout, const char16_t* name) {
    auto page = std::make_unique<TUserPage>(&layout, name);
    return static_cast<TUserPage&>(*layout.InsertPageAfter(std::move(page), nullptr));
}

} // namespace

TUserPage& AddEveryKindPage(TLayout& layout) {
    TUserPage& page = addPage(layout, u"Every kind");
    colour(page.face, TUserFace::kTopToBottom, 0x00503C28, 0x00100804);

    auto& framed = AddObjectAt<TUserButton>(page, 10, 10, 100, 44);
    frame(framed.upFace, 5);
    caption(framed.upFace, u"Framed", TUserFace::kMedium);
    colour(framed.downFace, TUserFace::kSingleColor, 0x000000FF); // never shown on the page

    auto& plain = AddObjectAt<TUserButton>(page, 120, 10, 90, 44);
    colour(plain.upFace, TUserFace::kRadial, 0x00C08020, 0x00201008);
    caption(plain.upFace, u"Radial", TUserFace::kLarge);

    auto& icon = AddObjectAt<TUserImage>(page, 220, 10, 40, 44);
    picture(icon.face, 10);

    auto& bar = AddObjectAt<TUserImage>(page, 10, 64, 200, 24);
    colour(bar.face, TUserFace::kLeftToRight, 0x00204080, 0x0080C0F0);
    caption(bar.face, u"Left to right, tiny", TUserFace::kTiny, kDarkRef);

    AddObjectAt<TUserLevel>(page, 265, 10, 45, 130);
    AddObjectAt<TUserLevel>(page, 10, 100, 130, 45);

    AddObjectAt<TUserHotspot>(page, 150, 100, 85, 50);

    auto& unknown = AddObjectAt<TUserObject>(page, 150, 170, 40, 30);
    unknown.kind = 7;

    auto& text = AddObjectAt<TUserImage>(page, 10, 160, 130, 70);
    caption(text.face, u"Small caption", TUserFace::kSmall);
    return page;
}

TUserPage& AddBusyPage(TLayout& layout) {
    TUserPage& page = addPage(layout, u"Busy");
    picture(page.face, 1);

    auto& title = AddObjectAt<TUserImage>(page, 0, 0, 320, 24);
    colour(title.face, TUserFace::kLeftToRight, 0x00603010, 0x00180C04);
    caption(title.face, u"Living Room", TUserFace::kLarge);

    // Twelve framed buttons, three across and four down, in every frame and caption size.
    const std::int32_t frames[] = {3, 4, 5, 6, 7, 8, 9, 16};
    const std::int32_t sizes[] = {TUserFace::kMedium, TUserFace::kSmall, TUserFace::kLarge, TUserFace::kTiny};
    const char16_t* names[] = {u"Lamp", u"Ceiling", u"Blinds",  u"Fan",   u"Heat",    u"Music",
                               u"TV",   u"Scene 1", u"Scene 2", u"Night", u"All Off", u"Away"};
    for (int i = 0; i < 12; ++i) {
        auto& button = AddObjectAt<TUserButton>(page, 4 + (i % 3) * 84, 28 + (i / 3) * 32, 80, 30);
        frame(button.upFace, frames[i % 8]);
        caption(button.upFace, names[i], sizes[i % 4], frames[i % 8] == 9 ? kDarkRef : kWhiteRef);
    }

    AddObjectAt<TUserLevel>(page, 262, 28, 45, 130);
    AddObjectAt<TUserLevel>(page, 4, 160, 130, 45);

    auto& back = AddObjectAt<TUserImage>(page, 140, 160, 30, 30);
    picture(back.face, 10);
    auto& cancel = AddObjectAt<TUserImage>(page, 174, 160, 36, 30);
    picture(cancel.face, 11);
    auto& back2 = AddObjectAt<TUserImage>(page, 0, 0, 27, 24);
    picture(back2.face, 10);
    auto& cancel2 = AddObjectAt<TUserImage>(page, 286, 0, 34, 24);
    picture(cancel2.face, 11);

    auto& warm = AddObjectAt<TUserImage>(page, 214, 160, 50, 36);
    colour(warm.face, TUserFace::kRadial, 0x000060F0, 0x00001030);
    caption(warm.face, u"21\u00B0C", TUserFace::kMedium); // the degree sign has no glyph
    auto& cool = AddObjectAt<TUserImage>(page, 268, 160, 50, 36);
    colour(cool.face, TUserFace::kRadial, 0x00F0A040, 0x00301008);
    caption(cool.face, u"Cool", TUserFace::kSmall);
    auto& level = AddObjectAt<TUserImage>(page, 140, 194, 124, 14);
    colour(level.face, TUserFace::kLeftToRight, 0x0000C000, 0x000000C0);
    caption(level.face, u"Level", TUserFace::kTiny);
    auto& status = AddObjectAt<TUserImage>(page, 4, 208, 130, 30);
    colour(status.face, TUserFace::kTopToBottom, 0x00404040, 0x00101010);
    caption(status.face, u"Ready", TUserFace::kSmall, 0x0080FF80);

    const std::int32_t plainColours[] = {0x00303090, 0x00309030, 0x00903030};
    const char16_t* plainNames[] = {u"Red", u"Green", u"Blue"};
    for (int i = 0; i < 3; ++i) {
        auto& button = AddObjectAt<TUserButton>(page, 140 + i * 60, 212, 56, 26);
        colour(button.upFace, TUserFace::kSingleColor, plainColours[i]);
        caption(button.upFace, plainNames[i], TUserFace::kMedium);
    }

    AddObjectAt<TUserHotspot>(page, 262, 28, 45, 60);
    AddObjectAt<TUserHotspot>(page, 4, 28, 80, 30);
    AddObjectAt<TUserHotspot>(page, 140, 160, 70, 30);
    AddObjectAt<TUserHotspot>(page, 214, 160, 104, 36);
    return page;
}
