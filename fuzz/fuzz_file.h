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

// Whether a row the reader made is the file's row with each pixel's first and third
// bytes swapped (B, G, R (, A) to R, G, B (, A)).
inline bool rowSwappedFromFile(const unsigned char* out, const uint8_t* in, size_t rowBytes,
                               size_t pixelBytes) {
    for (size_t i = 0; i < rowBytes; i += pixelBytes) {
        if (out[i] != in[i + 2] || out[i + 1] != in[i + 1] || out[i + 2] != in[i])
            return false;
        for (size_t k = 3; k < pixelBytes; k++)
            if (out[i + k] != in[i + k])
                return false;
    }
    return true;
}
