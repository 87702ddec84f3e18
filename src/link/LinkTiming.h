#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

// Every speed, pause and deadline of the link in one table, in milliseconds unless named
// otherwise. The defaults are the panel's; tests and the simulator may shorten them.
struct LinkTiming {
    std::uint32_t idleSpeed = 9600;
    std::uint32_t transferSpeed = 115200;

    // The panel switches without answering, so both sides rely on these pauses.
    std::uint32_t afterSpeedUp = 700;    // after the port is at the transfer speed
    std::uint32_t lowBaudToSwitch = 100; // between "%lowbaud\n" and the port's switch to 9600

    std::uint32_t binBlockToPacket = 5;    // between "%binblock\n" and its packet
    std::uint32_t endCommandToTrailer = 5; // between the end command and the trailer

    std::uint32_t replyWindow = 500;          // one reply window (at most 200 bytes)
    std::uint32_t blockHeaderDeadline = 1000; // each 4-byte field of a block reply
    std::uint32_t blockDataDeadline = 2000;   // the data of a block reply

    std::uint32_t probeSettle = 600; // after "$QPW\r\n"
    std::uint32_t probeReadDeadline = 1000;
    std::uint32_t infoSettle = 100; // after "%reqinfo\n"
    std::uint32_t infoReadDeadline = 1000;

    std::uint32_t downloadSpeedUpPause = 100; // between "%highbaud\n" and the switch
    std::uint32_t downloadSlowDownPause = 20; // before "%lowbaud\n"
    std::uint32_t uploadSpeedUpPause = 100;
    std::uint32_t uploadTrailerPause = 10; // between the trailer and the final reply
    std::uint32_t uploadSlowDownPause = 20;
    std::uint32_t firmwareSpeedUpPause = 50;
    std::uint32_t firmwareTrailerPause = 5;
    std::uint32_t firmwareSlowDownPause = 0;
    std::uint32_t firmwareBeforeClose = 100; // after the firmware transfer, before the port closes

    // No wait goes longer than this without calling TransferObserver::keepAlive().
    std::uint32_t keepAliveInterval = 20;
};

// What differs between sending a layout image and sending firmware. Firmware always waits the
// full windows: a panel left without firmware is worse than a slow upgrade.
struct PayloadParameters {
    std::uint32_t speedUpPause;
    std::string_view endCommand;
    std::uint32_t trailerPause;
    std::uint32_t slowDownPause;
    // A block's reply window ends as soon as it holds a whole reply line instead of listening
    // its full length, and what waits on the line before a block is discarded. The first block
    // not acknowledged at once turns the rest of the payload, the trailer's reply included,
    // back to full windows.
    bool windowsEndAtReply = false;
    // Told once, with the index of that block, when the payload falls back to full windows.
    std::function<void(std::int32_t block)> fellBack = {};
};

// The acknowledgement ends each window unless `fullWindows` asks for the panel's full waits.
inline PayloadParameters LayoutUploadParameters(const LinkTiming& timing, bool fullWindows = false,
                                                std::function<void(std::int32_t block)> fellBack = {}) {
    return {timing.uploadSpeedUpPause,  "%endlayout\n", timing.uploadTrailerPause,
            timing.uploadSlowDownPause, !fullWindows,   std::move(fellBack)};
}

inline PayloadParameters FirmwareParameters(const LinkTiming& timing) {
    return {timing.firmwareSpeedUpPause,  "%endblock\n", timing.firmwareTrailerPause,
            timing.firmwareSlowDownPause, false,         {}};
}
