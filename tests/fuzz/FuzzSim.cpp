// libFuzzer target for the simulator's command parser: the bytes of a hostile tool. The first byte
// picks the simulator's options; the rest are steps (FuzzSteps.h) whose parameter is the gap
// before they arrive, in 4 ms units, so frames stall, restarts run out and speeds change between them.
#include "FuzzSteps.h"
#include "sim/PanelEngine.h"
#include "sim/PanelStore.h"

#include <array>

namespace {

std::vector<std::uint8_t> storedImage() {
    std::vector<std::uint8_t> image(2500);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return image;
}

SimOptions optionsFor(std::uint8_t selector) {
    static constexpr std::array<int, 4> kBlockSizes = {1000, 600, 1, 999};
    SimOptions options;
    options.blockSize = kBlockSizes[selector & 3];
    options.corruptEvery = selector & 4 ? 3 : 0;
    options.badLengthEvery = selector & 8 ? 2 : 0;
    options.nakEvery = selector & 16 ? 2 : 0;
    options.dropEvery = selector & 32 ? 3 : 0;
    options.extraEvery = selector & 32 ? 4 : 0;
    options.answerInfo = (selector & 64) == 0;
    options.silentAfter = selector & 128 ? 6 : -1;
    return options;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    PanelStore store("", storedImage);
    PanelEngine engine(optionsFor(data[0]), store);
    PanelEngine::Nanos now = 0;
    for (const FuzzStep& step : SplitFuzzSteps({data + 1, size - 1})) {
        now += step.parameter * 4 * PanelEngine::kMillisecond;
        engine.Advance(now);
        // Whatever is due has been done: a loop that sleeps until NextTimer() never spins.
        const auto next = engine.NextTimer();
        FUZZ_CHECK(!next || *next > now);
        engine.Receive({reinterpret_cast<const std::uint8_t*>(step.bytes.data()), step.bytes.size()}, now);
        (void)engine.TakeOutput();
        FUZZ_CHECK(engine.Speed() == PanelEngine::kIdleSpeed || engine.Speed() == PanelEngine::kTransferSpeed);
        FUZZ_CHECK(store.Layout().size() <= PanelStore::kLayoutCapacity);
    }
    return 0;
}
