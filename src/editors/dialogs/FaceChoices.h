#pragma once

#include "render/Rect.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class TLayout;

// The face dialog's rules that need no widget: what its four lists hold and in which order,
// which controls each face kind enables, the value a kind stores and the preview's rectangle.

// One list entry: its text and the number it stands for (gradient kind, caption size, built-in
// image ID or image ID).
struct FaceChoice {
    QString text;
    std::int32_t number = 0;
    friend bool operator==(const FaceChoice&, const FaceChoice&) = default;
};
using FaceChoices = std::vector<FaceChoice>;

// The lists sort their entries by text, ignoring case; equal texts keep the order they were
// added in, so the two "Deep Round" faces read 5 before 16.
[[nodiscard]] FaceChoices SortedChoices(FaceChoices choices);
// Where a new entry goes in a sorted list: after every entry whose text is not greater.
[[nodiscard]] int SortedInsertRow(const FaceChoices& sorted, const QString& text);

[[nodiscard]] FaceChoices GradientKindChoices();
[[nodiscard]] FaceChoices CaptionSizeChoices();
[[nodiscard]] FaceChoices ButtonFaceChoices();
// One entry per image of the layout, reading its position from 1, ": " and its description;
// the number is the image's ID.
[[nodiscard]] FaceChoices ImageChoices(const TLayout& layout);
// The row of the first entry standing for `number`, or -1.
[[nodiscard]] int RowOfNumber(const FaceChoices& choices, std::int32_t number);

// The controls a face kind's radio button enables; the others it disables. The caption's
// controls are always enabled.
struct FaceControlStates {
    bool gradientKind = false;
    bool color1 = false;
    bool color2 = false;
    bool image = false;
    bool addImage = false;
    bool buttonFace = false;
    friend bool operator==(const FaceControlStates&, const FaceControlStates&) = default;
};
// Nothing for a kind without a radio button: then no control is disabled.
[[nodiscard]] std::optional<FaceControlStates> ControlStatesForKind(std::int32_t kind);

// The second colour is for gradients only: hidden for "Single Color".
[[nodiscard]] bool ShowsSecondColor(std::int32_t gradientKind);

// What the face's value becomes for its kind from the lists' selections; a blank face (or one of
// an unknown kind) keeps `value`.
[[nodiscard]] std::int32_t FaceValueForKind(std::int32_t kind, std::int32_t value, std::int32_t gradientKind,
                                            std::int32_t imageId, std::int32_t buttonFaceId);

// The size an image face gives its object on OK: its picture's, when the layout holds an image
// with that ID that has one.
[[nodiscard]] std::optional<QSize> ImageObjectSize(const TLayout* layout, std::int32_t imageId);

// Where the preview draws inside its frame of the given size: 3 pixels in at the sides and 10 at
// the top and bottom; a button face, being a button and not a page, further in.
[[nodiscard]] Rect FacePreviewRect(int frameWidth, int frameHeight, std::int32_t kind);
// The frame whose preview rectangle is the panel's whole screen.
[[nodiscard]] QSize FacePreviewFrameSize();
