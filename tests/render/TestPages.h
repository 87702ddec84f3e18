#pragma once

class TLayout;
class TUserPage;

// Pages drawn from the built-in art, for the goldens and the benchmark.

// One object of every kind (framed and plain buttons, pictures, gradients, both slider
// orientations, a hot spot, an object of an unknown kind) on a gradient background.
TUserPage& AddEveryKindPage(TLayout& layout);

// A busy control page: 30 objects with frames, gradients, captions in every size, icons and sliders
// over the built-in background.
TUserPage& AddBusyPage(TLayout& layout);
