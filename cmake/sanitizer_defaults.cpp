// Run-time settings of AddressSanitizer, LeakSanitizer and UBSan for one program of
// the sanitized build, compiled in so that ctest, the scripts and a person running
// the program by hand all get the same behaviour without setting any variable.
//
// - exitcode=66: a report must never pass for one of the game's own exits (a BMP
//   that cannot be read ends the game with status 1).
// - halt_on_error / -fno-sanitize-recover: the first report ends the program.
// - allocator_may_return_null=1: the game answers a failed allocation itself (its
//   out-of-memory messages, the loaders' allocation messages); the tests that
//   exhaust memory on purpose check exactly that.
// - verify_asan_link_order=0: apitrace preloads its tracer ahead of the sanitizer.
// - detect_leaks: only in programs that open no window. Mesa, GLX and freeglut keep
//   blocks until exit that nothing frees, and the DRI driver that made many of them
//   has been unloaded by then, so their stacks read "<unknown module>": a suppression
//   cannot name them, and suppressing unknown modules would hide our own leaks too.
//   The window-less programs (unit tests, fuzzers) do check leaks, and they cover the
//   file readers, the relief geometry and the whole simulation; the OpenGL programs
//   still get every other check.
// - libdbus: SDL's game controller start-up opens a D-Bus connection when there is
//   a display, and libdbus keeps its connection's buffers until exit by design.
#ifndef KELVIDRON_DETECT_LEAKS
#define KELVIDRON_DETECT_LEAKS 1
#endif

#define KELVIDRON_STRINGIFY2(x) #x
#define KELVIDRON_STRINGIFY(x) KELVIDRON_STRINGIFY2(x)

extern "C" const char* __asan_default_options() {
    return "halt_on_error=1:exitcode=66:allocator_may_return_null=1:verify_asan_link_order=0:"
           "detect_leaks=" KELVIDRON_STRINGIFY(KELVIDRON_DETECT_LEAKS);
}

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1:exitcode=66";
}

extern "C" const char* __lsan_default_options() { return "exitcode=66"; }

extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
