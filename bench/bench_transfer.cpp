// The transfer harness: a real zyl-panel-sim with --line-rate on its pty, holding a layout of about
// 300 KB (noise pictures, which do not compress), and the tool's own link code on the other end.
// Measures the download's block phase against the line and the upload against the line and the
// protocol's floor, and says where each block's time goes. Prints one JSON object.
//
//   bench_transfer [--kb N] [--only download|upload|upload-fast|upload-full|none] [--state DIR] [--window]
// The upload runs twice, ending each block's reply window at the acknowledgement and waiting
// the full windows; upload-fast and upload-full run one of them.
// --window lets the main window's progress window watch each transfer, as it does for the user
// (offscreen unless QT_QPA_PLATFORM says otherwise), so its repaints are in the figures.
// --state keeps the panel's folder, so zylctl or the main window can be timed on the same layout.
#include "RichLayout.h"
#include "SimProcess.h"
#include "TempDir.h"

#include "app/CFirmwareUpgrade.h"
#include "layout/TLayout.h"
#include "layout/TUserImage.h"
#include "layout/TUserPage.h"
#include "link/CSerialPort.h"
#include "link/LinkFraming.h"
#include "link/LinkProtocol.h"
#include "link/SteadyLinkClock.h"
#include "link/TransferObserver.h"
#include "link/Transfers.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// 8N1: ten bits a byte.
constexpr double kLineBytesPerSecond = 115200.0 / 10.0;
double LineMs(double bytes) {
    return bytes * 1000.0 / kLineBytesPerSecond;
}

// A layout of user pages, each showing one noise picture of about 30 KB, grown until its image
// reaches `bytes`.
std::vector<std::uint8_t> NoiseLayoutImage(std::size_t bytes) {
    constexpr int kSide = 100;
    TLayout layout;
    std::mt19937 random(7);
    for (int n = 0;; ++n) {
        const std::int32_t id = layout
                                    .AddUserImage(u"Noise " + std::u16string(1, static_cast<char16_t>(u'A' + n % 26)),
                                                  NoisePicture(kSide, kSide, random))
                                    .id;

        auto page =
            std::make_unique<TUserPage>(&layout, u"Page " + std::u16string(1, static_cast<char16_t>(u'A' + n % 26)));
        page->pageId = 20000 + n;
        auto image = std::make_unique<TUserImage>();
        image->width = kSide;
        image->height = kSide;
        image->face.kind = TUserFace::kImage;
        image->face.value = id;
        page->objects.push_back(std::move(image));
        layout.pages.push_back(std::move(page));

        std::string error;
        auto encoded = layout.Encode(TLayout::kUploadCapacity, &error);
        if (!encoded)
            throw std::runtime_error("cannot encode the harness layout: " + error);
        if (encoded->size() >= bytes)
            return *encoded;
    }
}

// Passes everything on to the window that shows the transfer, when there is one.
class ForwardingObserver : public TransferObserver {
public:
    void progress(int permille) override {
        if (inner)
            inner->progress(permille);
    }
    void keepAlive() override {
        if (inner)
            inner->keepAlive();
    }
    bool cancelled() override { return inner && inner->cancelled(); }

    TransferObserver* inner = nullptr;
};

struct BlockTimes {
    std::size_t request = 0; // bytes of the request
    double answer = 0;       // request written until the first byte of the reply
    double stream = 0;       // first byte until the last
    double turnaround = 0;   // last byte until the next request is written
};

// The port with a clock on every byte that crosses it: each write and the reply bytes that follow
// it until the next write make one exchange.
class TimedPort : public SerialIo {
public:
    explicit TimedPort(CSerialPort& port) : port(port) {}

    std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) override {
        const std::size_t got = port.ReadSome(buffer, maxCount);
        if (got > 0) {
            if (receivedSinceWrite == 0)
                firstByte = Clock::now();
            receivedSinceWrite += got;
            lastRead = Clock::now();
        }
        return got;
    }
    bool WaitReadable(std::uint32_t timeoutMs) override { return port.WaitReadable(timeoutMs); }
    void WriteBytes(const std::uint8_t* data, std::size_t length) override {
        noteWrite();
        lastLength = length;
        port.WriteBytes(data, length);
    }
    void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                            const std::function<void()>& whileWaiting) override {
        noteWrite();
        lastLength = length;
        port.WriteBytesServiced(data, length, sliceMs, whileWaiting);
    }
    void SetBaudRate(std::uint32_t bitsPerSecond) override { port.SetBaudRate(bitsPerSecond); }

    // Only full block replies count: the header and 1000 bytes.
    std::vector<BlockTimes> blocks;
    Clock::time_point lastRead;

private:
    void noteWrite() {
        const auto now = Clock::now();
        if (receivedSinceWrite == kBlockDataBytes + 8)
            blocks.push_back({lastLength, MsBetween(lastWrite, firstByte), MsBetween(firstByte, lastRead),
                              MsBetween(lastRead, now)});
        lastWrite = now;
        receivedSinceWrite = 0;
    }

    CSerialPort& port;
    Clock::time_point lastWrite;
    Clock::time_point firstByte;
    std::size_t lastLength = 0;
    std::size_t receivedSinceWrite = 0;
};

// Notes when the first block is asked for.
class DownloadClock : public ForwardingObserver {
public:
    void progress(int permille) override {
        if (requests++ == 0)
            firstRequest = Clock::now();
        ForwardingObserver::progress(permille);
    }

    Clock::time_point firstRequest;
    int requests = 0;
};

class UploadClock : public ForwardingObserver {
public:
    // Called after each acknowledged block, and once before the first.
    void progress(int permille) override {
        ForwardingObserver::progress(permille);
        const auto now = Clock::now();
        if (permille > 0 && acknowledged++ > 0)
            acks.push_back(MsBetween(last, now));
        last = now;
    }
    Clock::time_point last;
    int acknowledged = 0;
    std::vector<double> acks; // from one acknowledged block to the next
};

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

std::unique_ptr<CFirmwareUpgrade> ProgressWindow(bool wanted, bool readingMode) {
    if (!wanted)
        return nullptr;
    auto window = std::make_unique<CFirmwareUpgrade>(nullptr, readingMode);
    window->show();
    return window;
}

std::string MeasureDownload(const std::string& device, std::size_t size, bool window) {
    CSerialPort port;
    port.Open(device);
    TimedPort io(port);
    SteadyLinkClock clock;
    DownloadClock observer;
    const auto shown = ProgressWindow(window, true);
    observer.inner = shown.get();
    LinkFraming link(io, clock, observer);
    const auto start = Clock::now();
    const DownloadResult result = DownloadLayout(link);
    const auto end = Clock::now();
    if (result.outcome != DownloadResult::Outcome::Downloaded || result.bytes.size() != size)
        throw std::runtime_error("the download did not complete");
    // The whole phase, from the first request to the last byte of the last (perhaps short) block.
    const double blockPhase = MsBetween(observer.firstRequest, io.lastRead);
    // A full block's cycle, from its request to the next: what the line allows is the request one
    // way, then the 8-byte header and 1000 bytes the other.
    std::vector<double> answer, stream, turnaround, cycle, line;
    for (const auto& b : io.blocks) {
        answer.push_back(b.answer);
        stream.push_back(b.stream);
        turnaround.push_back(b.turnaround);
        cycle.push_back(b.answer + b.stream + b.turnaround);
        line.push_back(LineMs(static_cast<double>(b.request + kBlockDataBytes + 8)));
    }
    const double perBlock = Mean(cycle);
    const double bytesPerSecond = static_cast<double>(kBlockDataBytes) * 1000.0 / perBlock;
    char text[1024];
    std::snprintf(text, sizeof text,
                  "\"download\": {\"bytes\": %zu, \"blocks\": %d, \"total_ms\": %.0f, \"block_phase_ms\": %.0f, "
                  "\"phase_bytes_per_second\": %.0f, \"ms_per_block\": %.2f, \"line_ms_per_block\": %.2f, "
                  "\"bytes_per_second\": %.0f, \"line_bytes_per_second\": %.0f, \"share_of_line_rate_pct\": %.1f, "
                  "\"share_of_line_time_pct\": %.1f, \"median_answer_ms\": %.2f, \"median_stream_ms\": %.2f, "
                  "\"mean_answer_ms\": %.2f, \"mean_stream_ms\": %.2f, \"median_turnaround_ms\": %.3f, "
                  "\"mean_turnaround_ms\": %.3f}",
                  size, observer.requests, MsBetween(start, end), blockPhase,
                  static_cast<double>(size) * 1000.0 / blockPhase, perBlock, Mean(line), bytesPerSecond,
                  kLineBytesPerSecond, bytesPerSecond * 100 / kLineBytesPerSecond, Mean(line) * 100 / perBlock,
                  Median(answer), Median(stream), Mean(answer), Mean(stream), Median(turnaround), Mean(turnaround));
    return text;
}

// One upload: as the main window runs it, each block's window ended by its acknowledgement, or with
// every reply window waited out in full, as firmware is sent and as an upload goes on after its
// first trouble. Its time against the line time of the layout's bytes, and against the floor: what
// the protocol cannot go below at line rate.
std::string MeasureUpload(const std::string& device, const std::vector<std::uint8_t>& image, bool window,
                          bool fullWindows) {
    CSerialPort port;
    port.Open(device);
    SteadyLinkClock clock;
    UploadClock observer;
    const auto shown = ProgressWindow(window, false);
    observer.inner = shown.get();
    LinkFraming link(port, clock, observer);
    const LinkTiming& t = link.Timing();
    int fellBackAt = -1;
    const auto start = Clock::now();
    const std::string reply = UploadLayout(link, image, TLayout::kUploadCapacity, fullWindows,
                                           [&](std::int32_t block) { fellBackAt = block; });
    const double total = MsBetween(start, Clock::now());
    if (!IsAcknowledgement(reply))
        throw std::runtime_error("the panel did not take the layout");
    // The speed commands leave the line within the pauses that follow them. A full window holds
    // its packet's time on the line; an ended one lasts for the packet and the acknowledgement,
    // "%binblock\n" leaving during the pause before the packet, and the trailer and its reply
    // cross the line during the pause after it. The flush before the speed-up ends only on a
    // silent window.
    const double replyWait =
        fullWindows ? t.replyWindow : LineMs(static_cast<double>(kBlockPacketBytes + kAcknowledgement.size()));
    const double trailerReply = fullWindows ? t.replyWindow : 0;
    const double blocks = static_cast<double>(BlockCount(image.size()));
    const double perBlock = t.binBlockToPacket + replyWait;
    const double before = t.replyWindow + t.uploadSpeedUpPause + t.afterSpeedUp;
    const double after =
        t.endCommandToTrailer + t.uploadTrailerPause + trailerReply + t.uploadSlowDownPause + t.lowBaudToSwitch;
    const double floor = before + blocks * perBlock + after;
    const double line = LineMs(static_cast<double>(image.size()));
    char text[512];
    std::snprintf(
        text, sizeof text,
        "\"%s\": {\"bytes\": %zu, \"blocks\": %.0f, \"total_ms\": %.0f, \"line_ms\": %.0f, "
        "\"over_line_pct\": %.2f, \"floor_ms\": %.0f, \"over_floor_pct\": %.2f, \"floor_ms_per_block\": %.2f, "
        "\"median_ms_per_block\": %.2f, \"mean_ms_per_block\": %.2f, \"fell_back_at\": %d}",
        fullWindows ? "upload_full" : "upload", image.size(), blocks, total, line, (total - line) * 100 / line, floor,
        (total - floor) * 100 / floor, perBlock, Median(observer.acks), Mean(observer.acks), fellBackAt);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    try {
        std::size_t kilobytes = 300;
        std::string only;
        std::string kept;
        bool window = false;
        for (int i = 1; i < argc; ++i) {
            const std::string option = argv[i];
            if (option == "--window") {
                window = true;
                continue;
            }
            if (i + 1 == argc)
                break;
            if (option == "--kb")
                kilobytes = std::stoul(argv[i + 1]);
            else if (option == "--only")
                only = argv[i + 1];
            else if (option == "--state")
                kept = argv[i + 1];
            ++i;
        }
        std::unique_ptr<QApplication> app;
        if (window) {
            if (std::getenv("QT_QPA_PLATFORM") == nullptr)
                ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            app = std::make_unique<QApplication>(argc, argv);
        }
        const auto image = NoiseLayoutImage(kilobytes * 1000);
        TempDir state;
        TempDir runtime;
        const std::string folder = kept.empty() ? state.Path() : kept;
        // The panel keeps its layout image in layout.bin.
        std::filesystem::create_directories(folder);
        std::ofstream file(folder + "/layout.bin", std::ios::binary);
        file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        if (!file.flush())
            throw std::runtime_error("cannot write " + folder + "/layout.bin");
        if (only == "none")
            return 0;
        SimProcess simulator({"--line-rate"}, folder, runtime.Path());
        if (simulator.DevicePath().empty())
            throw std::runtime_error("the simulator did not start");

        std::vector<std::string> parts;
        if (only.empty() || only == "download")
            parts.push_back(
                MeasureDownload(simulator.DevicePath(), image.size() + 4, window)); // the panel sends the length first
        if (only.empty() || only == "upload" || only == "upload-fast")
            parts.push_back(MeasureUpload(simulator.DevicePath(), image, window, false));
        if (only.empty() || only == "upload" || only == "upload-full")
            parts.push_back(MeasureUpload(simulator.DevicePath(), image, window, true));
        std::string out = "{";
        for (const std::string& part : parts)
            out += (out.size() > 1 ? ", " : "") + part;
        std::cout << out << (window ? ", \"window\": true" : "") << "}\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "bench_transfer: " << e.what() << "\n";
        return 1;
    }
}
