#pragma once

#include <cstddef>

// A full disk for the file layer, without a small file system to fill: while armed, the writes
// and reservations of this process find only `room` more bytes, then fail with ENOSPC as a full
// disk's do. The system calls are replaced at link time in the test program that holds this.
class DiskFull {
public:
    explicit DiskFull(std::size_t room);
    ~DiskFull();
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
};
