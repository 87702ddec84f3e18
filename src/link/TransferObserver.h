#pragma once

// What a transfer tells the window that shows it, and asks it. The link calls keepAlive() at
// least every 20 ms of any wait, so the caller can repaint and service its Cancel button
// without a worker thread; cancelled() is asked right after. The defaults do nothing, so this
// class itself serves as the observer of a transfer nobody watches.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;

    // Share of the transfer done, in thousandths (0 to 1000).
    virtual void progress(int permille) { static_cast<void>(permille); }
    virtual void keepAlive() {}
    // True once the user has asked to stop; the transfer then ends with TransferCancelled.
    virtual bool cancelled() { return false; }
};
