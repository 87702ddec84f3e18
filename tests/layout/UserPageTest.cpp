#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TConstListItemVisitor.h"
#include "layout/TConstUserObjectVisitor.h"
#include "layout/TListItemVisitor.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserObjectVisitor.h"
#include "layout/TUserPage.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TUserObject* addRect(TUserPage& page, int left, int top, int width, int height) {
    auto object = std::make_unique<TUserImage>();
    object->left = left;
    object->top = top;
    object->width = width;
    object->height = height;
    return page.AddObject(std::move(object));
}

std::vector<const TUserObject*> order(const TUserPage& page) {
    std::vector<const TUserObject*> out;
    for (const auto& o : page.objects)
        out.push_back(o.get());
    return out;
}

// Names the Visit each form of Accept reached.
struct KindRecorder : TUserObjectVisitor, TConstUserObjectVisitor, TListItemVisitor, TConstListItemVisitor {
    std::string seen;
    void Visit(TUserObject&) override { seen += "plain "; }
    void Visit(TUserButton&) override { seen += "button "; }
    void Visit(TUserLevel&) override { seen += "level "; }
    void Visit(TUserImage&) override { seen += "image "; }
    void Visit(TUserHotspot&) override { seen += "hotspot "; }
    void Visit(const TUserObject&) override { seen += "plain"; }
    void Visit(const TUserButton&) override { seen += "button"; }
    void Visit(const TUserLevel&) override { seen += "level"; }
    void Visit(const TUserImage&) override { seen += "image"; }
    void Visit(const TUserHotspot&) override { seen += "hotspot"; }
    void Visit(TUserPage&) override { seen += "user "; }
    void Visit(CBtn8Ctrl&) override { seen += "btn8 "; }
    void Visit(CNumericCtrl&) override { seen += "numeric "; }
    void Visit(const TUserPage&) override { seen += "user"; }
    void Visit(const CBtn8Ctrl&) override { seen += "btn8"; }
    void Visit(const CNumericCtrl&) override { seen += "numeric"; }
};

TEST(UserPage, EveryKindReachesItsOwnVisit) {
    struct Case {
        std::int32_t kind;
        const char* seen;
    };
    const Case objects[] = {{0, "plain plain"}, {1, "button button"},   {2, "level level"},
                            {3, "image image"}, {4, "hotspot hotspot"}, {5, "plain plain"}};
    for (const auto& c : objects) {
        auto object = TUserObject::Create(c.kind);
        KindRecorder recorder;
        object->Accept(static_cast<TUserObjectVisitor&>(recorder));
        std::as_const(*object).Accept(static_cast<TConstUserObjectVisitor&>(recorder));
        EXPECT_EQ(recorder.seen, c.seen) << c.kind;
    }

    TUserPage user(nullptr, u"");
    CBtn8Ctrl btn8(nullptr, u"");
    CNumericCtrl numeric(nullptr, u"");
    const std::pair<TListItem*, const char*> pages[] = {
        {&user, "user user"}, {&btn8, "btn8 btn8"}, {&numeric, "numeric numeric"}};
    for (const auto& [page, seen] : pages) {
        KindRecorder recorder;
        page->Accept(static_cast<TListItemVisitor&>(recorder));
        std::as_const(*page).Accept(static_cast<TConstListItemVisitor&>(recorder));
        EXPECT_EQ(recorder.seen, seen) << page->kind;
    }
}

TEST(UserPage, NewObjectsHaveTheirDefaults) {
    TUserButton button;
    EXPECT_EQ(button.kind, 1);
    EXPECT_EQ(button.selectorId, -1);
    EXPECT_EQ(button.reserved2, -1);
    EXPECT_FALSE(button.toggle);
    EXPECT_EQ(button.entryPageId, -1);
    EXPECT_EQ(button.holdTime, 0);
    EXPECT_EQ(button.upFace.textSize, 2);
    TUserLevel level;
    EXPECT_EQ(level.kind, 2);
    EXPECT_EQ(level.controlId, -1);
    EXPECT_EQ(level.sliderImageId, 2);
    EXPECT_EQ(TUserImage().kind, 3);
    TUserHotspot hotspot;
    EXPECT_EQ(hotspot.kind, 4);
    EXPECT_EQ(hotspot.targetPageId, -1);
    EXPECT_FALSE(hotspot.requirePin);
    TUserPage page(nullptr, u"p");
    EXPECT_EQ(page.kind, 8);
    EXPECT_TRUE(page.objects.empty());
}

TEST(UserPage, ObjectAtFindsTheTopmostWithHalfOpenEdges) {
    TUserPage page(nullptr, u"p");
    TUserObject* below = addRect(page, 10, 10, 20, 20);
    TUserObject* above = addRect(page, 20, 20, 20, 20);
    struct Case {
        int x, y;
        TUserObject* hit;
    };
    const Case cases[] = {
        {10, 10, below},   {29, 29, above}, {25, 25, above},   {19, 29, below},  {30, 15, nullptr},
        {15, 30, nullptr}, {39, 39, above}, {40, 39, nullptr}, {9, 10, nullptr}, {39, 40, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(page.ObjectAt(c.x, c.y), c.hit) << "(" << c.x << ", " << c.y << ")";
}

TEST(UserPage, EmptyObjectsHoldNoPoint) {
    TUserPage page(nullptr, u"p");
    addRect(page, 5, 5, 0, 10);
    addRect(page, 5, 5, 10, -3);
    EXPECT_EQ(page.ObjectAt(5, 5), nullptr);
}

TEST(UserPage, HitTestCornerTriesCornersInOrder) {
    TUserImage small;
    small.left = 100;
    small.top = 100;
    small.width = 4;
    small.height = 4;
    TUserImage big;
    big.left = 100;
    big.top = 100;
    big.width = 50;
    big.height = 30;
    struct Case {
        const TUserObject* object;
        int x, y;
        int corner;
    };
    const Case cases[] = {
        {&small, 100, 100, 1}, // every handle overlaps here; top-left wins
        {&small, 104, 100, 2}, {&small, 104, 104, 3}, {&small, 99, 107, 4}, {&small, 108, 100, 0},
        {&big, 96, 96, 1},     {&big, 103, 103, 1},   {&big, 104, 100, 0},  {&big, 95, 100, 0},
        {&big, 146, 96, 2},    {&big, 153, 103, 2},   {&big, 150, 130, 3},  {&big, 153, 133, 3},
        {&big, 154, 130, 0},   {&big, 100, 130, 4},   {&big, 96, 126, 4},   {&big, 125, 115, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.object->HitTestCorner(c.x, c.y), c.corner) << "(" << c.x << ", " << c.y << ")";
}

TEST(UserPage, AddRemovePushPull) {
    TUserPage page(nullptr, u"p");
    TUserObject* a = addRect(page, 0, 0, 1, 1);
    TUserObject* b = addRect(page, 0, 0, 1, 1);
    TUserObject* c = addRect(page, 0, 0, 1, 1);
    EXPECT_EQ(page.AddObject(nullptr), nullptr);
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{a, b, c}));

    page.Push(c);
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{c, a, b}));
    page.Pull(c);
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{a, b, c}));
    page.Pull(b);
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{a, c, b}));

    auto removed = page.RemoveObject(a);
    ASSERT_EQ(removed.get(), a);
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{c, b}));
    EXPECT_EQ(page.RemoveObject(a), nullptr); // not on the page any more
    page.Push(a);                             // nor can it be pushed
    EXPECT_EQ(order(page), (std::vector<const TUserObject*>{c, b}));
}

} // namespace
