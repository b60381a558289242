// FNV-1a, 64 bits, over the bytes of plain values: the hash of the duel state and of
// the simulation fingerprint. Values only, never addresses, so that every machine and
// every run agrees.
#pragma once

#include "math/vec3.h"

#include <cstdint>
#include <cstring>

class Fnv1a {
public:
    template <typename T> void add(const T& value) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes)
            hash_ = (hash_ ^ b) * 1099511628211ull;
    }
    void add(const Vec3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};
