// Preloaded only into programs that run under valgrind (tests/valgrind/memcheck).
//
// GraphicsMagick pulls in the JPEG XL codec and with it a SIMD helper library whose load-time
// constructor measures its timer with RDTSCP. Valgrind 3.19 refuses that instruction on a CPU
// that does not advertise it (common in virtual machines), so the program dies with SIGILL
// before main. The constructor reaches the measurement through the dynamic linker, so this
// definition answers it instead; nothing we run uses that timer.
namespace hwy::platform {

double TimerResolution() {
    return 1.0;
}

} // namespace hwy::platform
