// A libFuzzer mutator for image files that edits the header as the integers it holds
// (width, height, depth, planes) rather than as bytes: boundary values, sign flips,
// the neighbours of 2^32 / 3 and of the powers of two, and sizes whose product wraps
// past 2^32 or 2^64 to less than the file holds, with the file then cut or stretched
// to what its header asks, and whole shapes: one pixel wide or high, or next to the
// size the image's user expects. Byte flips alone almost never make two 32-bit
// fields whose product wraps to a few kilobytes; half of the mutations are still
// libFuzzer's own.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <numeric>
#include <random>
#include <vector>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

enum class FieldRole { Width, Height, Depth, Other };

// A little-endian integer of the header. A signed height may be negative (a top-down
// BMP); its magnitude is the number of rows.
struct HeaderField {
    size_t offset;
    unsigned bytes; // 1, 2 or 4
    bool isSigned;
    FieldRole role;
};

struct ImageFormat {
    const uint8_t* blankHeader; // completes an input shorter than the header
    size_t headerSize;          // where the pixels start
    const HeaderField* fields;
    size_t fieldCount;
    unsigned rowAlignment; // stored rows are padded to a multiple of this many bytes
    // Widths or heights the image's user expects (a height map's 1024 by 512):
    // shapes next to them are tried as often as the smallest.
    const uint64_t* expectedSizes = nullptr;
    size_t expectedSizeCount = 0;
};

class HeaderMutator {
public:
    HeaderMutator(const ImageFormat& format, unsigned seed) : f(format), rng(seed) {}

    size_t mutate(uint8_t* data, size_t size, size_t maxSize) {
        if (maxSize < f.headerSize || pick(1))
            return LLVMFuzzerMutate(data, size, maxSize);
        if (size < f.headerSize) {
            std::memcpy(data + size, f.blankHeader + size, f.headerSize - size);
            size = f.headerSize;
        }
        for (uint64_t steps = 1 + pick(2); steps > 0; steps--) {
            const HeaderField& field = f.fields[pick(f.fieldCount - 1)];
            switch (pick(8)) {
            case 0:
            case 1:
                set(data, field, boundary(field));
                break;
            case 2:
                set(data, field, nudge(get(data, field)));
                break;
            case 3: // sign flip; for an unsigned field the same bits read as signed
                set(data, field, 0 - get(data, field));
                break;
            case 4:
                set(data, field, pick(1) ? pick(fieldMask(field)) : 1 + pick(63));
                break;
            case 5:
                copyDimension(data);
                break;
            case 6:
                size = wrapSizes(data, size, maxSize);
                break;
            case 7:
                setShape(data);
                break;
            default:
                size = fitLength(data, size, maxSize);
                break;
            }
        }
        return size;
    }

private:
    using u128 = unsigned __int128;

    // A uniform number in 0..n.
    uint64_t pick(uint64_t n) { return std::uniform_int_distribution<uint64_t>(0, n)(rng); }

    static uint64_t fieldMask(const HeaderField& field) {
        return field.bytes >= 8 ? ~uint64_t(0) : (uint64_t(1) << 8 * field.bytes) - 1;
    }

    // The field's bits, sign-extended when it is signed.
    static uint64_t get(const uint8_t* data, const HeaderField& field) {
        uint64_t value = 0;
        for (unsigned k = 0; k < field.bytes; k++)
            value |= uint64_t(data[field.offset + k]) << 8 * k;
        const uint64_t top = uint64_t(1) << (8 * field.bytes - 1);
        if (field.isSigned && (value & top))
            value |= ~fieldMask(field);
        return value;
    }

    static void set(uint8_t* data, const HeaderField& field, uint64_t value) {
        for (unsigned k = 0; k < field.bytes; k++)
            data[field.offset + k] = static_cast<uint8_t>(value >> 8 * k);
    }

    // Rows of a height value: the magnitude of a signed one.
    static uint64_t rows(const HeaderField& field, uint64_t value) {
        return field.isSigned && int64_t(value) < 0 ? 0 - value : value & fieldMask(field);
    }

    const HeaderField* find(FieldRole role) const {
        for (size_t i = 0; i < f.fieldCount; i++)
            if (f.fields[i].role == role)
                return &f.fields[i];
        return nullptr;
    }

    uint64_t bytesPerPixel(const uint8_t* data) const {
        const HeaderField* depth = find(FieldRole::Depth);
        const uint64_t bits = depth ? get(data, *depth) & fieldMask(*depth) : 24;
        return bits < 8 ? 1 : (bits + 7) / 8;
    }

    uint64_t boundary(const HeaderField& field) {
        const uint64_t m = fieldMask(field);
        if (field.role == FieldRole::Depth) {
            static const uint64_t depths[] = {0, 1, 4, 8, 15, 16, 24, 32, 48, 64, 255};
            return pick(5) ? depths[pick(std::size(depths) - 1)] : m;
        }
        const uint64_t edges[] = {
            0,     1,         2,         3,     4,         m,         m - 1,
            m / 2, m / 2 + 1, m / 2 + 2, m / 3, m / 3 + 1, m / 3 * 2, m / 3 * 2 + 1};
        if (pick(2))
            return edges[pick(std::size(edges) - 1)];
        // A power of two or a neighbour of one.
        return (uint64_t(1) << pick(8 * field.bytes - 1)) + pick(2) - 1;
    }

    uint64_t nudge(uint64_t value) {
        switch (pick(3)) {
        case 0:
            return value + 1 + pick(15);
        case 1:
            return value - 1 - pick(15);
        case 2:
            return pick(1) ? value * (2 + pick(2)) : value / (2 + pick(2));
        default:
            return value ^ (uint64_t(1) << pick(31));
        }
    }

    // A whole shape at once, in a common depth or any: one pixel wide or high, small,
    // or next to a size the image's user expects. Top-down half the time.
    void setShape(uint8_t* data) {
        const HeaderField* width = find(FieldRole::Width);
        const HeaderField* height = find(FieldRole::Height);
        const HeaderField* depth = find(FieldRole::Depth);
        if (width)
            set(data, *width, shapeSize());
        if (height)
            set(data, *height, height->isSigned && pick(1) ? 0 - shapeSize() : shapeSize());
        if (depth)
            set(data, *depth, pick(1) ? (pick(1) ? 24 : 32) : boundary(*depth));
    }

    uint64_t shapeSize() {
        if (f.expectedSizeCount > 0 && pick(1))
            return f.expectedSizes[pick(f.expectedSizeCount - 1)] + pick(2) - 1;
        return 1 + pick(pick(1) ? 4 : 63);
    }

    // Width and height swapped, or one made equal to the other.
    void copyDimension(uint8_t* data) {
        const HeaderField* width = find(FieldRole::Width);
        const HeaderField* height = find(FieldRole::Height);
        if (!width || !height)
            return;
        const uint64_t w = get(data, *width), h = get(data, *height);
        switch (pick(2)) {
        case 0:
            set(data, *width, h), set(data, *height, w);
            break;
        case 1:
            set(data, *width, h);
            break;
        default:
            set(data, *height, w);
            break;
        }
    }

    // Bytes of pixel data the header asks for: every row padded but the last.
    u128 neededBytes(uint64_t width, uint64_t rowCount, uint64_t pixelBytes) const {
        if (width == 0 || rowCount == 0)
            return 0;
        const u128 rowBytes = u128(width) * pixelBytes;
        const u128 stride = (rowBytes + f.rowAlignment - 1) / f.rowAlignment * f.rowAlignment;
        return stride * (rowCount - 1) + rowBytes;
    }

    // Width and height whose product with the bytes per pixel lands just past a
    // multiple of 2^32 or 2^64, by no more than the pixel bytes the input can hold:
    // the product 2^N + s, for a small s, split into the two by factoring it. The
    // width is a multiple of what keeps the rows unpadded, so that the padded sum
    // wraps as far. Random pairs would almost never land that close.
    size_t wrapSizes(uint8_t* data, size_t size, size_t maxSize) {
        const HeaderField* width = find(FieldRole::Width);
        const HeaderField* height = find(FieldRole::Height);
        if (!width || !height)
            return size;
        const uint64_t k = bytesPerPixel(data);
        const uint64_t step = f.rowAlignment / std::gcd<uint64_t>(f.rowAlignment, k);
        const uint64_t widthMax = fieldMask(*width);
        const uint64_t rowsMax = height->isSigned ? fieldMask(*height) / 2 + 1 : fieldMask(*height);
        const u128 wrap = u128(1) << (pick(1) ? 64 : 32);
        if (wrap > u128(k) * widthMax * rowsMax)
            return size; // the fields are too narrow to reach it
        const uint64_t room = maxSize - f.headerSize;
        for (int tries = 0; tries < 8; tries++) {
            const uint64_t past = pick(room);
            const u128 product = wrap + past;
            if (product % (k * step) != 0 || product / (k * step) > UINT64_MAX)
                continue;
            // product = k * (step * d) * (m / d) for every divisor d of m.
            const uint64_t m = static_cast<uint64_t>(product / (k * step));
            std::vector<uint64_t> divisors;
            for (const uint64_t d : divisorsOf(m))
                if (u128(step) * d <= widthMax && m / d <= rowsMax)
                    divisors.push_back(d);
            if (divisors.empty())
                continue;
            const uint64_t d = divisors[pick(divisors.size() - 1)], r = m / d;
            set(data, *width, step * d);
            // A signed height goes negative half the time (2^31 rows only can).
            const bool negative = height->isSigned && (r > rowsMax - 1 || pick(1));
            set(data, *height, negative ? 0 - r : r);
            return resize(data, size, maxSize, f.headerSize + static_cast<size_t>(past) + pick(3));
        }
        return size;
    }

    static uint64_t mulMod(uint64_t a, uint64_t b, uint64_t n) { return u128(a) * b % n; }

    static uint64_t powMod(uint64_t a, uint64_t e, uint64_t n) {
        uint64_t result = 1;
        for (a %= n; e; e >>= 1, a = mulMod(a, a, n))
            if (e & 1)
                result = mulMod(result, a, n);
        return result;
    }

    // Miller-Rabin with bases that decide every 64-bit number.
    static bool isPrime(uint64_t n) {
        if (n < 2)
            return false;
        static const uint64_t bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
        for (const uint64_t p : bases)
            if (n % p == 0)
                return n == p;
        uint64_t d = n - 1;
        int twos = 0;
        for (; d % 2 == 0; d /= 2)
            twos++;
        for (const uint64_t a : bases) {
            uint64_t x = powMod(a, d, n);
            // a witnesses that n is composite unless x is 1 or reaches n - 1.
            bool witness = x != 1 && x != n - 1;
            for (int i = 1; i < twos && witness; i++) {
                x = mulMod(x, x, n);
                witness = x != n - 1;
            }
            if (witness)
                return false;
        }
        return true;
    }

    // The pseudo-random walk of Pollard's rho: x * x + c, modulo n.
    static uint64_t next(uint64_t x, uint64_t c, uint64_t n) {
        return static_cast<uint64_t>((u128(x) * x + c) % n);
    }

    // A proper factor of the composite n (Pollard's rho, Brent's cycle finding).
    uint64_t someFactor(uint64_t n) {
        if (n % 2 == 0)
            return 2;
        for (;;) {
            const uint64_t c = 1 + pick(n - 2);
            uint64_t y = pick(n - 1), x = y, g = 1, q = 1, ys = y;
            for (uint64_t r = 1; g == 1; r *= 2) {
                x = y;
                for (uint64_t i = 0; i < r; i++)
                    y = next(y, c, n);
                for (uint64_t done = 0; done < r && g == 1; done += 128) {
                    ys = y;
                    for (uint64_t i = 0; i < 128 && i < r - done; i++) {
                        y = next(y, c, n);
                        q = mulMod(q, x > y ? x - y : y - x, n);
                    }
                    g = std::gcd(q, n);
                }
            }
            if (g == n)
                do {
                    ys = next(ys, c, n);
                    g = std::gcd(x > ys ? x - ys : ys - x, n);
                } while (g == 1);
            if (g != n)
                return g;
        }
    }

    void primeFactors(uint64_t n, std::vector<uint64_t>& primes) {
        if (n == 1)
            return;
        if (isPrime(n)) {
            primes.push_back(n);
            return;
        }
        const uint64_t p = someFactor(n);
        primeFactors(p, primes);
        primeFactors(n / p, primes);
    }

    std::vector<uint64_t> divisorsOf(uint64_t n) {
        std::vector<uint64_t> primes;
        primeFactors(n, primes);
        std::sort(primes.begin(), primes.end());
        std::vector<uint64_t> divisors = {1};
        for (size_t i = 0; i < primes.size();) {
            size_t j = i;
            while (j < primes.size() && primes[j] == primes[i])
                j++;
            const size_t before = divisors.size();
            uint64_t power = 1;
            for (size_t e = i; e < j; e++) {
                power *= primes[i];
                for (size_t t = 0; t < before; t++)
                    divisors.push_back(divisors[t] * power);
            }
            i = j;
        }
        return divisors;
    }

    // The file cut or stretched to the pixel bytes its header asks for, or a little
    // less or more (a missing last padding, one byte short, one to spare).
    size_t fitLength(uint8_t* data, size_t size, size_t maxSize) {
        const HeaderField* width = find(FieldRole::Width);
        const HeaderField* height = find(FieldRole::Height);
        if (!width || !height)
            return size;
        const u128 needed = neededBytes(get(data, *width) & fieldMask(*width),
                                        rows(*height, get(data, *height)), bytesPerPixel(data));
        if (needed > maxSize - f.headerSize)
            return resize(data, size, maxSize, f.headerSize + pick(maxSize - f.headerSize));
        return resize(data, size, maxSize,
                      f.headerSize + static_cast<size_t>(needed) + pick(4) - 2);
    }

    // New bytes get a pattern, so that swapped channels show.
    static size_t resize(uint8_t* data, size_t size, size_t maxSize, size_t wanted) {
        if (wanted > maxSize)
            wanted = maxSize;
        for (size_t i = size; i < wanted; i++)
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        return wanted;
    }

    const ImageFormat& f;
    std::minstd_rand rng;
};
