#pragma once

#include <QAccessible>
#include <QString>

class CZylWnd;
class TUserObject;

// The page canvas as a screen reader meets it: the page's objects are the canvas's accessible
// children, in drawing order, each named by its kind and caption and described by its place.

// What a page object is called: its kind and its caption or event text ("Button \"On\"",
// "Hot spot to page 10001", "Image", "Level slider").
[[nodiscard]] QString AccessibleObjectName(const TUserObject& object);
// Where it lies on the page, in page pixels: "left 10, top 20, 85 × 50".
[[nodiscard]] QString AccessibleObjectPlace(const TUserObject& object);
[[nodiscard]] QAccessible::Role AccessibleObjectRole(const TUserObject& object);

// Gives every canvas the interface above. Further calls do nothing.
void InstallCanvasAccessibility();
// Tells a screen reader the canvas's selection changed; while the canvas has the focus, the
// selected object takes it.
void CanvasSelectionChanged(CZylWnd& canvas);
