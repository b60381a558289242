// Writing and reading replay files. Every number is little-endian; every chunk
// carries its length twice (plain and inverted) and a CRC-32 of itself, so a flipped
// byte anywhere is caught, and a length can never send the reader past the data.
#include "replay/replay_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

const char MAGIC[8] = {'K', 'V', 'D', 'R', 'P', 'L', 'A', 'Y'};
constexpr size_t HEADER_BYTES = 32;
constexpr size_t CHUNK_HEAD_BYTES = 12;
// Limits far beyond what a duel makes, so that a damaged count is refused before it
// is believed: a day of play, and a minute per chunk.
constexpr uint32_t MAX_STEPS = 24u * 3600u * 100u;
constexpr uint32_t MAX_CHUNK_STEPS = 6000;
constexpr uint32_t MAX_PAYLOAD = 1u << 20;

} // namespace

uint32_t replayCrc32(const uint8_t* data, size_t size) {
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xffffffffu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

namespace {

void put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t get(const uint8_t* at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | at[i];
    return v;
}

// A run of equal inputs: a flags byte (the fire flags, the view, and whether the
// channels follow), the two ships' channels when they differ from the run before,
// then the run's length as LEB128 (seven bits a byte, low first).
constexpr uint8_t CHANNELS_FOLLOW = 1u << 4;

void encodeRun(std::vector<uint8_t>& out, const StepInput& in, const StepInput* previous,
               size_t run) {
    const bool same = previous && previous->ships[0].channels == in.ships[0].channels &&
                      previous->ships[1].channels == in.ships[1].channels;
    out.push_back(static_cast<uint8_t>(in.ships[0].fire | in.ships[1].fire << 1 |
                                       static_cast<int>(in.view) << 2 |
                                       (same ? 0 : CHANNELS_FOLLOW)));
    if (!same) {
        out.push_back(in.ships[0].channels);
        out.push_back(in.ships[1].channels);
    }
    for (; run >= 0x80; run >>= 7)
        out.push_back(static_cast<uint8_t>(run | 0x80));
    out.push_back(static_cast<uint8_t>(run));
}

class Parser {
public:
    Parser(const uint8_t* data, size_t size, const std::string& name)
        : data_(data), size_(size), name_(name) {}

    ReplayReading run() {
        if (size_ == 0)
            return fail("the file is empty");
        if (size_ < sizeof MAGIC || std::memcmp(data_, MAGIC, sizeof MAGIC) != 0)
            return fail("not a replay (wrong magic)");
        if (size_ < HEADER_BYTES)
            return fail("the file ends inside its header");
        if (replayCrc32(data_, 24) != get(data_ + 24, 4))
            return fail("the header is damaged (checksum mismatch)");
        const uint64_t version = get(data_ + 8, 2);
        if (version > REPLAY_VERSION)
            return fail("made by a newer version of the format (" + std::to_string(version) +
                        "; this program reads up to " + std::to_string(REPLAY_VERSION) + ")");
        if (version == 0 || get(data_ + 10, 2) != HEADER_BYTES || get(data_ + 28, 4) != 0)
            return fail("the header is not a version 1 header");
        out_.replay.randSeed = static_cast<uint32_t>(get(data_ + 12, 4));
        out_.replay.fingerprint = get(data_ + 16, 8);

        size_t at = HEADER_BYTES;
        while (at < size_) {
            if (out_.replay.ended)
                return fail("data after the end chunk, at byte " + std::to_string(at));
            if (size_ - at < CHUNK_HEAD_BYTES) {
                out_.incomplete = true;
                break;
            }
            const uint8_t* chunk = data_ + at;
            const uint32_t length = static_cast<uint32_t>(get(chunk + 4, 4));
            if ((length ^ 0xffffffffu) != get(chunk + 8, 4) || chunk[1] || chunk[2] || chunk[3])
                return fail("a chunk head is damaged at byte " + std::to_string(at));
            if (length > MAX_PAYLOAD)
                return fail("a chunk claims " + std::to_string(length) + " bytes at byte " +
                            std::to_string(at));
            if (size_ - at < CHUNK_HEAD_BYTES + length + 4) {
                out_.incomplete = true;
                break;
            }
            if (replayCrc32(chunk, CHUNK_HEAD_BYTES + length) !=
                get(chunk + CHUNK_HEAD_BYTES + length, 4))
                return fail("a chunk is damaged (checksum mismatch) at byte " + std::to_string(at));
            const std::string problem = chunkProblem(chunk[0], chunk + CHUNK_HEAD_BYTES, length);
            if (!problem.empty())
                return fail(problem + " in the chunk at byte " + std::to_string(at));
            at += CHUNK_HEAD_BYTES + length + 4;
        }
        // Whole chunks and no end: the recording stopped between two chunks.
        if (!out_.replay.ended)
            out_.incomplete = true;
        return out_;
    }

private:
    ReplayReading fail(const std::string& what) {
        ReplayReading r;
        r.error = name_ + ": " + what;
        return r;
    }

    std::string chunkProblem(uint8_t type, const uint8_t* p, uint32_t length) {
        Replay& replay = out_.replay;
        if (type == 'E') {
            if (length != 13)
                return "an end chunk of the wrong size";
            if (get(p, 4) != replay.inputs.size())
                return "an end chunk whose step count differs from the inputs'";
            if (p[12] > static_cast<uint8_t>(DuelResult::BothDestroyed))
                return "an unknown result";
            replay.checkpoints.push_back({static_cast<uint32_t>(get(p, 4)), get(p + 4, 8)});
            replay.result = static_cast<DuelResult>(p[12]);
            replay.ended = true;
            return "";
        }
        if (type != 'I')
            return "an unknown chunk type";
        if (length < 14)
            return "an input chunk too short";
        const uint32_t first = static_cast<uint32_t>(get(p, 4));
        const uint32_t count = static_cast<uint32_t>(get(p + 4, 2));
        if (first != replay.inputs.size())
            return "inputs that do not follow on from the last chunk";
        if (count == 0 || count > MAX_CHUNK_STEPS || first + count > MAX_STEPS)
            return "an absurd step count (" + std::to_string(count) + ")";
        const uint64_t hash = get(p + 6, 8);
        uint32_t covered = 0;
        StepInput in;
        for (uint32_t at = 14; at < length;) {
            const uint8_t flags = p[at++];
            if (flags >> 5 != 0 || (flags >> 2 & 3) > static_cast<int>(ViewChoice::Behind))
                return "an input with unknown bits";
            if (flags & CHANNELS_FOLLOW) {
                if (length - at < 2)
                    return "a run cut short";
                in.ships[0].channels = p[at++];
                in.ships[1].channels = p[at++];
            } else if (covered == 0) {
                return "a chunk whose first run does not give the channels";
            }
            in.ships[0].fire = flags & 1;
            in.ships[1].fire = flags >> 1 & 1;
            in.view = static_cast<ViewChoice>(flags >> 2 & 3);
            uint32_t run = 0;
            for (int shift = 0;; shift += 7) {
                if (at == length || shift > 14)
                    return "a run length cut short or too long";
                run |= static_cast<uint32_t>(p[at] & 0x7f) << shift;
                if (!(p[at++] & 0x80))
                    break;
            }
            if (run == 0 || run > count - covered)
                return "runs that do not add up to the step count";
            replay.inputs.insert(replay.inputs.end(), run, in);
            covered += run;
        }
        if (covered != count)
            return "runs that do not add up to the step count";
        replay.checkpoints.push_back({first + count, hash});
        return "";
    }

    const uint8_t* data_;
    size_t size_;
    const std::string& name_;
    ReplayReading out_;
};

} // namespace

ReplayReading parseReplay(const uint8_t* data, size_t size, const std::string& name) {
    return Parser(data, size, name).run();
}

ReplayReading readReplay(const std::string& path) {
    ReplayReading failed;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        failed.error = path + ": cannot be opened: " + std::strerror(errno);
        return failed;
    }
    if (S_ISDIR(info.st_mode)) {
        failed.error = path + ": is a directory, not a replay";
        return failed;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        failed.error = path + ": cannot be read";
        return failed;
    }
    return parseReplay(bytes.data(), bytes.size(), path);
}

ReplayWriter::~ReplayWriter() {
    if (file_)
        std::fclose(file_);
}

bool ReplayWriter::open(const std::string& path, uint64_t fingerprint, uint32_t randSeed) {
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error_ = path + ": cannot be written: " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> header(MAGIC, MAGIC + sizeof MAGIC);
    put(header, REPLAY_VERSION, 2);
    put(header, HEADER_BYTES, 2);
    put(header, randSeed, 4);
    put(header, fingerprint, 8);
    put(header, replayCrc32(header.data(), header.size()), 4);
    put(header, 0, 4);
    std::fwrite(header.data(), 1, header.size(), file_);
    std::fflush(file_);
    return true;
}

void ReplayWriter::addStep(const StepInput& input, uint64_t hashAfter) {
    pending_.push_back(input);
    lastHash_ = hashAfter;
    if (pending_.size() == static_cast<size_t>(REPLAY_CHUNK_STEPS))
        flushInputs();
}

void ReplayWriter::addStep(const StepInput& input, uint64_t (*hashNow)()) {
    pending_.push_back(input);
    hashNow_ = hashNow;
    if (pending_.size() == static_cast<size_t>(REPLAY_CHUNK_STEPS)) {
        lastHash_ = hashNow();
        flushInputs();
    }
}

void ReplayWriter::flushInputs() {
    if (pending_.empty())
        return;
    std::vector<uint8_t> payload;
    put(payload, steps_, 4);
    put(payload, pending_.size(), 2);
    put(payload, lastHash_, 8);
    for (size_t i = 0; i < pending_.size();) {
        size_t run = 1;
        while (i + run < pending_.size() && pending_[i + run] == pending_[i])
            ++run;
        encodeRun(payload, pending_[i], i == 0 ? nullptr : &pending_[i - 1], run);
        i += run;
    }
    steps_ += static_cast<uint32_t>(pending_.size());
    pending_.clear();
    writeChunk('I', payload);
}

void ReplayWriter::writeChunk(char type, const std::vector<uint8_t>& payload) {
    if (!file_)
        return;
    std::vector<uint8_t> chunk{static_cast<uint8_t>(type), 0, 0, 0};
    put(chunk, payload.size(), 4);
    put(chunk, static_cast<uint32_t>(payload.size()) ^ 0xffffffffu, 4);
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    put(chunk, replayCrc32(chunk.data(), chunk.size()), 4);
    if (std::fwrite(chunk.data(), 1, chunk.size(), file_) != chunk.size() ||
        std::fflush(file_) != 0)
        error_ = path_ + ": writing failed: " + std::strerror(errno);
}

bool ReplayWriter::finish(DuelResult result) {
    if (hashNow_ && !pending_.empty())
        lastHash_ = hashNow_();
    flushInputs();
    std::vector<uint8_t> end;
    put(end, steps_, 4);
    put(end, lastHash_, 8);
    end.push_back(static_cast<uint8_t>(result));
    writeChunk('E', end);
    if (file_ && std::fclose(file_) != 0 && error_.empty())
        error_ = path_ + ": closing failed: " + std::strerror(errno);
    file_ = nullptr;
    return error_.empty();
}
