// Shared by the fuzz targets: the input as a real file (the readers open files by
// path, exactly as the game does), and the readers' messages kept off the terminal.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Writes the input to this process's own temporary file (in $TMPDIR, or /tmp) and
// returns its path; the same file is rewritten for every input.
inline const char* writeFuzzFile(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/kelvidron-fuzz-XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd < 0) {
            std::perror("kelvidron fuzz: cannot make a temporary file");
            std::abort();
        }
        close(fd);
        static std::string removeAtExit;
        removeAtExit = name;
        std::atexit([] { std::remove(removeAtExit.c_str()); });
        return name;
    }();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror("kelvidron fuzz: cannot write the temporary file");
        std::abort();
    }
    return path.c_str();
}

// The readers print to standard output; thousands of inputs a second would flood
// the log. Set KELVIDRON_FUZZ_VERBOSE to see them.
inline void silenceReaders() {
    if (!std::getenv("KELVIDRON_FUZZ_VERBOSE"))
        if (!std::freopen("/dev/null", "w", stdout))
            std::abort();
}

// Ends the run with a message libFuzzer shows next to the input that caused it.
[[noreturn]] inline void fuzzFailure(const char* what) {
    std::fprintf(stderr, "kelvidron fuzz: %s\n", what);
    std::abort();
}
