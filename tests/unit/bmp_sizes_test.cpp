// The BMP reader's size decisions against the same arithmetic done in 128 bits, for
// random and boundary widths, heights of both signs and file lengths, among them
// headers whose 64-bit block size wraps past 2^64 to less than the file holds.
#include "assets/bmp_reader.h"
#include "assets/bmp_sizes.h"
#include "support/image_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using u128 = unsigned __int128;

struct Header {
    uint32_t width;
    int32_t storedHeight;
    long fileLength;
};

std::string describe(const Header& h) {
    return std::to_string(h.width) + " by " + std::to_string(h.storedHeight) + " in " +
           std::to_string(h.fileLength) + " bytes";
}

// The decision worked out in 128 bits, where nothing a header holds can wrap.
BmpSizeCheck reference(const Header& h, u128* bytes) {
    const u128 width = h.width;
    const u128 rows = h.storedHeight < 0 ? u128(-__int128(h.storedHeight)) : u128(h.storedHeight);
    if (width == 0 || rows == 0)
        return BmpSizeCheck::NoPixels;
    *bytes = width * rows * 3;
    if (*bytes > UINT32_MAX)
        return BmpSizeCheck::TooLarge;
    const u128 rowBytes = width * 3, stride = (rowBytes + 3) / 4 * 4;
    if (h.fileLength < 54 || stride * (rows - 1) + rowBytes > u128(h.fileLength - 54))
        return BmpSizeCheck::BeyondFile;
    return BmpSizeCheck::Fits;
}

// Whether the header is one the unchecked 64-bit sums let through although its true
// size is far beyond 32 bits: a block of the wrapped size, rows written beyond it.
bool wrapsIntoTheFile(const Header& h) {
    const uint64_t rows = bmpRowCount(h.storedHeight), rowBytes = uint64_t(h.width) * 3;
    const uint64_t size = rowBytes * rows, needed = (rowBytes + 3) / 4 * 4 * (rows - 1) + rowBytes;
    return u128(rowBytes) * rows > UINT32_MAX && size > 0 && size <= UINT32_MAX &&
           h.fileLength >= 54 && needed <= uint64_t(h.fileLength - 54);
}

class Headers {
public:
    Header random() {
        const uint32_t width = dimension();
        const int32_t height = static_cast<int32_t>(dimension());
        return {width, height, length(width, height)};
    }

    // A header whose block size in 64 bits wraps past 2^64 to fewer than limit bytes,
    // in a file that holds the wrapped size: for a random height the least width
    // past the wrap, kept when the rest is small (and the rows need no padding, so
    // the wrapped stride sum is as small). For a limit of 2^16 about one height in
    // 300,000 qualifies.
    Header wrapping(uint64_t limit) {
        for (;;) {
            // Past the wrap a width below 2^32 needs more than 2^64 / 3 / 2^32 rows.
            const uint64_t rows = pick(uint64_t(UINT32_MAX) / 3 + 2, uint64_t(1) << 31);
            const u128 wrap = u128(1) << 64;
            const u128 width = (wrap + 12 * rows - 1) / (12 * rows) * 4;
            const u128 rest = width * rows * 3 - wrap;
            if (width > UINT32_MAX || rest == 0 || rest >= limit)
                continue;
            const int32_t stored = pick(0, 1) || rows > INT32_MAX
                                       ? static_cast<int32_t>(-static_cast<int64_t>(rows))
                                       : static_cast<int32_t>(rows);
            return {static_cast<uint32_t>(width), stored,
                    static_cast<long>(54 + rest + pick(0, 2) * pick(0, 9))};
        }
    }

private:
    uint64_t pick(uint64_t low, uint64_t high) {
        return std::uniform_int_distribution<uint64_t>(low, high)(rng);
    }

    // A width, or a height's bits: boundaries, the neighbours of 2^32 / 3 and of the
    // powers of two, the examples of the bug report, small ones, anything.
    uint32_t dimension() {
        static const uint32_t edges[] = {
            0,          1,          2,          3,          4,          5,          0x55555555,
            0x55555556, 0xaaaaaaaa, 0xaaaaaaab, 0x7fffffff, 0x80000000, 0x80000001, 0xffffffff,
            0xfffffffe, 65535,      65536,      4274494808, 3369774176, 0xaa420a1c, 0x933ce3e7};
        switch (pick(0, 5)) {
        case 0:
            return edges[pick(0, std::size(edges) - 1)];
        case 1: {
            const uint32_t near = pick(0, 1) ? uint32_t(1) << pick(0, 31) : UINT32_MAX / 3;
            return near + static_cast<uint32_t>(pick(0, 8)) - 4;
        }
        case 2: {
            const uint32_t small = static_cast<uint32_t>(pick(1, 70));
            return pick(0, 1) ? small : 0u - small;
        }
        default:
            return static_cast<uint32_t>(rng());
        }
    }

    // A length around the bytes the header needs, a boundary, or anything.
    long length(uint32_t width, int32_t storedHeight) {
        static const long edges[] = {-1, 0, 53, 54, 55, LONG_MAX};
        const u128 rows = storedHeight < 0 ? u128(-__int128(storedHeight)) : u128(storedHeight);
        const u128 rowBytes = u128(width) * 3;
        const u128 needed = 54 + (rowBytes + 3) / 4 * 4 * (rows ? rows - 1 : 0) + rowBytes;
        switch (pick(0, 3)) {
        case 0:
            return edges[pick(0, std::size(edges) - 1)];
        case 1:
            return static_cast<long>(pick(0, uint64_t(1) << pick(6, 62)));
        default:
            return needed < u128(LONG_MAX) - 4 ? static_cast<long>(needed) + long(pick(0, 4)) - 2
                                               : LONG_MAX;
        }
    }

    std::mt19937_64 rng{20261208};
};

TEST(BmpSizes, AgreeWithTheSameSumsInOneHundredTwentyEightBits) {
    Headers headers;
    std::vector<Header> cases;
    for (int i = 0; i < 1000000; i++)
        cases.push_back(headers.random());
    for (int i = 0; i < 40; i++)
        cases.push_back(headers.wrapping(UINT32_MAX));
    // The two headers of the bug report.
    cases.push_back({4274494808u, -1438512612, 3926});
    cases.push_back({3369774176u, -1824726041, 86});

    int outcomes[4] = {}, wrapping = 0, failures = 0;
    for (const Header& h : cases) {
        u128 expectedBytes = 0;
        const BmpSizeCheck expected = reference(h, &expectedBytes);
        uint64_t bytes = 0;
        const BmpSizeCheck got =
            checkBmpSizes(h.width, bmpRowCount(h.storedHeight), h.fileLength, &bytes);
        outcomes[int(expected)]++;
        wrapping += wrapsIntoTheFile(h);
        if (got != expected || (got == BmpSizeCheck::Fits && bytes != expectedBytes)) {
            ADD_FAILURE() << describe(h) << ": decided " << int(got) << ", not " << int(expected);
            if (++failures == 10)
                break;
        }
    }
    // The cases reach every decision, and the wrapping ones are among them.
    for (int outcome : outcomes)
        EXPECT_GT(outcome, 1000);
    EXPECT_GE(wrapping, 40);
}

// The reader itself makes the same decisions, and says so: real files, the header
// written out and the file cut or stretched (sparsely) to its length.
TEST(BmpSizes, TheReaderDecidesAsTheSumsDo) {
    const std::string path = freshTestFolder() + "/sized.bmp";
    Headers headers;
    std::vector<Header> cases = {{4274494808u, -1438512612, 3926}};
    for (int i = 0; i < 20; i++)
        cases.push_back(headers.wrapping(1 << 16));
    while (cases.size() < 400) {
        const Header h = headers.random();
        if (h.fileLength >= 54 && h.fileLength <= 1 << 16)
            cases.push_back(h);
    }
    for (const Header& h : cases) {
        Bytes header(54, 0);
        header[0] = 'B', header[1] = 'M', header[26] = 1, header[28] = 24;
        for (int k = 0; k < 4; k++) {
            header[18 + k] = static_cast<uint8_t>(h.width >> 8 * k);
            header[22 + k] = static_cast<uint8_t>(uint32_t(h.storedHeight) >> 8 * k);
        }
        writeFile(path, header);
        truncateFile(path, h.fileLength);
        u128 bytes = 0;
        const BmpSizeCheck expected = reference(h, &bytes);
        // What the reader prints last for each decision, in the order of BmpSizeCheck.
        static const char* const endings[] = {"Height of ", "No pixels in ",
                                              "Error allocating memory for color-corrected",
                                              "Error reading image data from "};
        BmpImage image{};
        int loaded = -1;
        const std::string out = capturedStdout([&] { loaded = loadBmp(path.c_str(), &image); });
        EXPECT_EQ(loaded, expected == BmpSizeCheck::Fits) << describe(h) << ": " << out;
        EXPECT_NE(out.find(endings[int(expected)]), std::string::npos)
            << describe(h) << ": " << out;
        std::free(image.pixels);
    }
    removeFolder(path.substr(0, path.rfind('/')));
}

} // namespace
