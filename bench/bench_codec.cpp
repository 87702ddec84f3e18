// Encode and decode of a layout image of about 400 KB, most of it user images whose PNGs cannot be
// compressed, spread over user pages next to every other page kind. Budget: encode + decode
// under 60 ms on one core.
#include "ObjectGeometry.h"
#include "RichLayout.h"

#include "layout/TLayout.h"
#include "layout/TUserImage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kUserPages = 6;
constexpr int kImageWidth = 160;
constexpr std::size_t kTargetBytes = 400 * 1000;
constexpr std::size_t kLowestBytes = 390 * 1000;
constexpr std::size_t kHighestBytes = 410 * 1000;

// The rich layout (every page and object kind, the sleep page) plus user pages, each with a noise
// background of the given height and a small noise picture on it.
void makeLayout(TLayout& layout, int backgroundHeight) {
    MakeRichLayout(layout);
    std::mt19937 random(20261209);
    for (int i = 0; i < kUserPages; ++i) {
        auto page =
            std::make_unique<TUserPage>(&layout, u"Photos " + std::u16string(1, static_cast<char16_t>(u'1' + i)));
        if (backgroundHeight > 0) {
            page->face.kind = TUserFace::kImage;
            page->face.value =
                layout.AddUserImage(u"Background", NoisePicture(kImageWidth, backgroundHeight, random)).id;
            auto icon = std::make_unique<TUserImage>();
            setGeometry(*icon, {20, 20, 32, 32});
            icon->face.kind = TUserFace::kImage;
            icon->face.value = layout.AddUserImage(u"Icon", NoisePicture(32, 32, random)).id;
            page->AddObject(std::move(icon));
        }
        layout.InsertPageAfter(std::move(page), nullptr);
    }
}

[[nodiscard]] std::optional<Bytes> encode(TLayout& layout) {
    return layout.Encode(TLayout::kUploadCapacity);
}

// Each noise row costs its pixels plus the filter byte; the height that brings the image to the
// target is found from the size without backgrounds.
int backgroundHeightForTarget() {
    TLayout bare;
    makeLayout(bare, 0);
    const auto bytes = encode(bare);
    if (!bytes || bytes->size() >= kTargetBytes)
        return 1;
    const std::size_t icons = kUserPages * (32 * (32 * 3 + 1));
    const std::size_t rowBytes = kImageWidth * 3 + 1;
    const std::size_t left = kTargetBytes - bytes->size() > icons ? kTargetBytes - bytes->size() - icons : 0;
    return static_cast<int>(left / (rowBytes * kUserPages));
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_EncodeDecode400KB(benchmark::State& state) {
    TLayout layout;
    makeLayout(layout, backgroundHeightForTarget());
    const auto first = encode(layout);
    if (!first) {
        state.SkipWithError("the layout does not encode");
        return;
    }
    if (first->size() < kLowestBytes || first->size() > kHighestBytes) {
        const std::string message =
            "the layout encodes to " + std::to_string(first->size()) + " bytes, not about 400 KB";
        state.SkipWithError(message.c_str());
        return;
    }
    // A decode puts each user image in front of those before it, so one round trip stores the images
    // in reverse order and the second gives the very bytes back.
    TLayout decoded;
    std::string error;
    std::optional<Bytes> again = first;
    for (int trip = 0; trip < 2 && again; ++trip) {
        if (!decoded.Decode(*again, &error)) {
            state.SkipWithError(("the layout does not decode: " + error).c_str());
            return;
        }
        again = encode(decoded);
        if (trip == 0 && again && again->size() != first->size())
            again.reset();
    }
    if (again != first) {
        state.SkipWithError("the decoded layout encodes to other bytes");
        return;
    }

    double encodeMs = 0;
    double decodeMs = 0;
    for (auto _ : state) {
        const auto encodeStart = std::chrono::steady_clock::now();
        const auto bytes = encode(layout);
        encodeMs += millisecondsSince(encodeStart);
        const auto decodeStart = std::chrono::steady_clock::now();
        const bool ok = bytes && decoded.Decode(*bytes);
        decodeMs += millisecondsSince(decodeStart);
        if (!ok) {
            state.SkipWithError("an encode or decode failed while measured");
            break;
        }
        benchmark::DoNotOptimize(decoded.images.data());
    }
    state.counters["bytes"] = static_cast<double>(first->size());
    state.counters["encode_ms"] = benchmark::Counter(encodeMs, benchmark::Counter::kAvgIterations);
    state.counters["decode_ms"] = benchmark::Counter(decodeMs, benchmark::Counter::kAvgIterations);
    state.counters["ms"] = benchmark::Counter(encodeMs + decodeMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_EncodeDecode400KB)->Unit(benchmark::kMillisecond);

} // namespace
