#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>

// Text of a fixed NUL-terminated slot in the panel's code page (event texts, button labels),
// as the dialogs show and store it.

// The slot's text up to its first NUL, never past its end.
[[nodiscard]] QString LoadSlotText(std::span<const std::uint8_t> slot);

// Writes `text` into the first `limit` bytes of `slot`: at most limit - 1 bytes of text (a longer
// text is cut, characters the code page lacks become '?') and the NUL. A slot that already holds
// exactly this text is left byte for byte, so opening and confirming a dialog leaves the layout
// as it was even where older texts left bytes behind their NUL, and a longer text from the panel
// or a file stays whole (read up to the slot's first NUL, or its end); otherwise the rest of the
// first `limit` bytes is zeroed. Bytes past `limit` are never touched.
void StoreSlotText(const QString& text, std::span<std::uint8_t> slot, std::size_t limit);
