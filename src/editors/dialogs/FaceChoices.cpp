#include "editors/dialogs/FaceChoices.h"

#include "layout/TLayout.h"
#include "layout/TUserFace.h"
#include "render/PageDrawing.h"

#include <algorithm>

namespace {

bool textLess(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// The drawing rectangle's margins inside the preview frame.
constexpr int kSideMargin = 3;
constexpr int kEndMargin = 10;

} // namespace

FaceChoices SortedChoices(FaceChoices choices) {
    std::stable_sort(choices.begin(), choices.end(),
                     [](const FaceChoice& a, const FaceChoice& b) { return textLess(a.text, b.text); });
    return choices;
}

int SortedInsertRow(const FaceChoices& sorted, const QString& text) {
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), text,
                                     [](const QString& t, const FaceChoice& c) { return textLess(t, c.text); });
    return static_cast<int>(at - sorted.begin());
}

FaceChoices GradientKindChoices() {
    return SortedChoices({
        {"Single Color", TUserFace::kSingleColor},
        {"Gradient Left to Right", TUserFace::kLeftToRight},
        {"Gradient Top to Bottom", TUserFace::kTopToBottom},
        {"Gradient Radial", TUserFace::kRadial},
    });
}

FaceChoices CaptionSizeChoices() {
    return SortedChoices({
        {"Large", TUserFace::kLarge},
        {"Medium", TUserFace::kMedium},
        {"Small", TUserFace::kSmall},
        {"Tiny", TUserFace::kTiny},
    });
}

FaceChoices ButtonFaceChoices() {
    // 16 is the highlight variant of 5 and is offered under the same name.
    return SortedChoices({
        {"Blue Square", 3},
        {"Blue Glow", 4},
        {"Deep Round", 5},
        {"Green Glow", 6},
        {"Square Green", 7},
        {"Deep Square", 8},
        {"Square Grey", 9},
        {"Deep Round", 16},
    });
}

FaceChoices ImageChoices(const TLayout& layout) {
    FaceChoices choices;
    choices.reserve(layout.images.size());
    int position = 1;
    for (const auto& entry : layout.images)
        choices.push_back({QString("%1: ").arg(position++) + QString::fromStdU16String(entry->description), entry->id});
    return SortedChoices(std::move(choices));
}

int RowOfNumber(const FaceChoices& choices, std::int32_t number) {
    const auto at =
        std::find_if(choices.begin(), choices.end(), [&](const FaceChoice& c) { return c.number == number; });
    return at == choices.end() ? -1 : static_cast<int>(at - choices.begin());
}

std::optional<FaceControlStates> ControlStatesForKind(std::int32_t kind) {
    switch (kind) {
    case TUserFace::kBlank:
        return FaceControlStates{};
    case TUserFace::kColor:
        return FaceControlStates{.gradientKind = true, .color1 = true, .color2 = true};
    case TUserFace::kImage:
        return FaceControlStates{.image = true, .addImage = true};
    case TUserFace::kButtonFace:
        return FaceControlStates{.buttonFace = true};
    default:
        return std::nullopt;
    }
}

bool ShowsSecondColor(std::int32_t gradientKind) {
    return gradientKind != TUserFace::kSingleColor;
}

std::int32_t FaceValueForKind(std::int32_t kind, std::int32_t value, std::int32_t gradientKind, std::int32_t imageId,
                              std::int32_t buttonFaceId) {
    switch (kind) {
    case TUserFace::kButtonFace:
        return buttonFaceId;
    case TUserFace::kImage:
        return imageId;
    case TUserFace::kColor:
        return gradientKind;
    default:
        return value;
    }
}

std::optional<QSize> ImageObjectSize(const TLayout* layout, std::int32_t imageId) {
    if (layout == nullptr)
        return std::nullopt;
    const TImageEntry* entry = layout->FindImage(imageId);
    if (entry == nullptr || entry->Image() == nullptr)
        return std::nullopt;
    return QSize(entry->Image()->Width(), entry->Image()->Height());
}

Rect FacePreviewRect(int frameWidth, int frameHeight, std::int32_t kind) {
    Rect rect{kSideMargin, kEndMargin, frameWidth - kSideMargin, frameHeight - kEndMargin};
    if (kind == TUserFace::kButtonFace) {
        rect.left += 82;
        rect.top += 85;
        rect.right -= 85;
        rect.bottom -= 110;
    }
    return rect;
}

QSize FacePreviewFrameSize() {
    return {kScreenWidth + 2 * kSideMargin, kScreenHeight + 2 * kEndMargin};
}
