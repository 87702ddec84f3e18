#include "sim/SerialLine.h"

#include <algorithm>

SerialLine::SerialLine(PanelEngine& engine, bool lineRate) : engine(engine), lineRate(lineRate) {}

SerialLine::Nanos SerialLine::ByteTime(int speed) {
    return speed > 0 ? 10'000'000'000 / speed : 0;
}

void SerialLine::FromTool(std::span<const std::uint8_t> bytes, Nanos now, int toolSpeed) {
    if (!lineRate) {
        engine.SetQueued(unsentAt(now));
        engine.Receive(bytes, now);
        collect(now);
        return;
    }
    Nanos at = std::max(inputFree, now);
    for (const std::uint8_t byte : bytes) {
        at += ByteTime(toolSpeed);
        incoming.push_back({byte, toolSpeed, at});
    }
    inputFree = at;
}

void SerialLine::collect(Nanos at) {
    const auto bytes = engine.TakeOutput();
    if (!lineRate) {
        for (const std::uint8_t byte : bytes)
            outgoing.push_back({byte, engine.Speed(), at});
        return;
    }
    // The panel's reply starts once its line is free and goes at the speed the panel is on now.
    Nanos next = std::max(outputFree, at);
    for (const std::uint8_t byte : bytes) {
        next += ByteTime(engine.Speed());
        outgoing.push_back({byte, engine.Speed(), next});
    }
    outputFree = next;
}

std::size_t SerialLine::unsentAt(Nanos at) const {
    if (!lineRate)
        return outgoing.size();
    const auto sent =
        std::partition_point(outgoing.begin(), outgoing.end(), [&](const Timed& t) { return t.at <= at; });
    return static_cast<std::size_t>(outgoing.end() - sent);
}

std::vector<std::uint8_t> SerialLine::ToTool(Nanos now, int toolSpeed) {
    while (!incoming.empty() && incoming.front().at <= now) {
        const Timed in = incoming.front();
        incoming.pop_front();
        engine.Advance(in.at);
        const std::uint8_t byte = in.speed == engine.Speed() ? in.byte : engine.Garbage();
        engine.SetQueued(unsentAt(in.at));
        engine.Receive(std::span(&byte, 1), in.at);
        collect(in.at);
    }
    engine.Advance(now);
    collect(now);

    std::vector<std::uint8_t> out;
    while (!outgoing.empty() && outgoing.front().at <= now) {
        const Timed byte = outgoing.front();
        outgoing.pop_front();
        out.push_back(!lineRate || byte.speed == toolSpeed ? byte.byte : engine.Garbage());
    }
    return out;
}

std::optional<SerialLine::Nanos> SerialLine::NextDue() const {
    std::optional<Nanos> next = engine.NextTimer();
    const auto consider = [&](Nanos at) { next = next ? std::min(*next, at) : at; };
    if (!incoming.empty())
        consider(incoming.front().at);
    if (!outgoing.empty())
        consider(outgoing.front().at);
    return next;
}
