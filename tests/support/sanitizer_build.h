// Whether the tests run in the sanitized build, for the few tests that cannot run
// there.
#pragma once

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool ADDRESS_SANITIZER_BUILD = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool ADDRESS_SANITIZER_BUILD = true;
#else
constexpr bool ADDRESS_SANITIZER_BUILD = false;
#endif
#else
constexpr bool ADDRESS_SANITIZER_BUILD = false;
#endif

// The tests that run out of memory on purpose cap the address space; AddressSanitizer
// has reserved terabytes of it before main, so the cap cannot bite and the test would
// take the machine's whole memory instead. The plain build runs them.
#define SKIP_WHERE_MEMORY_CANNOT_RUN_OUT()                                                         \
    do {                                                                                           \
        if (ADDRESS_SANITIZER_BUILD)                                                               \
            GTEST_SKIP() << "AddressSanitizer's reserved address space defeats the cap";           \
    } while (0)
