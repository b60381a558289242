// Replay files: what is written reads back, and every kind of damaged file is
// refused with a message naming the file, or read up to its last whole chunk.
#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

StepInput inputAt(int step) {
    StepInput in;
    in.ships[0].channels = static_cast<uint8_t>(step / 37 % 5 == 0 ? YAW_LEFT_BIT : 0);
    in.ships[1].channels = static_cast<uint8_t>(step / 50 % 3 == 1 ? 0xff : 0);
    in.ships[0].fire = step % 6 == 0;
    in.view = step == 120 ? ViewChoice::Behind : ViewChoice::Keep;
    return in;
}

class ReplayFile : public testing::Test {
protected:
    std::string path_ = testing::TempDir() + "replay_file_test_" + std::to_string(getpid());
    void TearDown() override { std::remove(path_.c_str()); }

    std::vector<uint8_t> write(int steps, bool finish = true) {
        {
            // Unfinished, the writer closes the file as a killed recording leaves it.
            ReplayWriter writer;
            EXPECT_TRUE(writer.open(path_, 0x1234567890abcdefull, 7));
            for (int s = 0; s < steps; ++s)
                writer.addStep(inputAt(s), 1000u + static_cast<unsigned>(s));
            if (finish) {
                EXPECT_TRUE(writer.finish(DuelResult::PlayerTwoWins));
            }
        }
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    ReplayReading parse(const std::vector<uint8_t>& bytes) {
        return parseReplay(bytes.data(), bytes.size(), "duel.kvr");
    }
    void expectRefused(const std::vector<uint8_t>& bytes, const std::string& what) {
        const ReplayReading r = parse(bytes);
        EXPECT_EQ(r.error.rfind("duel.kvr: ", 0), 0u) << r.error;
        EXPECT_NE(r.error.find(what), std::string::npos) << r.error;
    }
};

TEST_F(ReplayFile, ReadsBackTheInputsHashesAndResult) {
    write(250);
    const ReplayReading r = readReplay(path_);
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.incomplete);
    EXPECT_EQ(r.replay.fingerprint, 0x1234567890abcdefull);
    EXPECT_EQ(r.replay.randSeed, 7u);
    ASSERT_EQ(r.replay.inputs.size(), 250u);
    for (int s = 0; s < 250; ++s)
        ASSERT_TRUE(r.replay.inputs[s] == inputAt(s)) << s;
    // One hash a second and one at the end.
    ASSERT_EQ(r.replay.checkpoints.size(), 4u);
    EXPECT_EQ(r.replay.checkpoints[0].steps, 100u);
    EXPECT_EQ(r.replay.checkpoints[0].hash, 1099u);
    EXPECT_EQ(r.replay.checkpoints[3].steps, 250u);
    EXPECT_EQ(r.replay.checkpoints[3].hash, 1249u);
    EXPECT_TRUE(r.replay.ended);
    EXPECT_EQ(r.replay.result, DuelResult::PlayerTwoWins);
}

// Firing every sixth step, busier than most duels.
TEST_F(ReplayFile, TenMinutesOfBusyPlayTakeWellUnder100Kilobytes) {
    EXPECT_LT(write(60000).size(), 65536u);
}

TEST_F(ReplayFile, EveryFlippedByteIsReported) {
    const std::vector<uint8_t> good = write(230);
    for (size_t at = 0; at < good.size(); ++at) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x10;
        const ReplayReading r = parse(bad);
        ASSERT_NE(r.error, "") << "byte " << at;
    }
}

TEST_F(ReplayFile, ACutFileIsReadUpToItsLastWholeChunk) {
    const std::vector<uint8_t> good = write(250);
    expectRefused({}, "empty");
    expectRefused({good.begin(), good.begin() + 20}, "ends inside its header");
    // Killed mid-duel: the header and two whole chunks, then part of the third.
    const std::vector<uint8_t> first = write(200, false);
    for (size_t cut : {first.size(), first.size() - 1, first.size() - 30}) {
        const ReplayReading r = parse({first.begin(), first.begin() + cut});
        ASSERT_EQ(r.error, "") << cut;
        // At a chunk's end too: without the end chunk, more may have been lost.
        EXPECT_TRUE(r.incomplete);
        EXPECT_FALSE(r.replay.ended);
        EXPECT_EQ(r.replay.checkpoints.back().steps, cut == first.size() ? 200u : 100u);
    }
}

TEST_F(ReplayFile, WrongMagicNewerVersionAbsurdCountsDirectoriesAndMissingFiles) {
    const std::vector<uint8_t> good = write(150);
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    expectRefused(bad, "wrong magic");

    bad = good;
    bad[8] = 2;
    const uint32_t crc = replayCrc32(bad.data(), 24);
    for (int i = 0; i < 4; ++i)
        bad[24 + i] = static_cast<uint8_t>(crc >> (8 * i));
    expectRefused(bad, "newer version");

    // The first chunk's step count, its checksum mended.
    bad = good;
    const size_t chunk = 32, length = bad[chunk + 4] | bad[chunk + 5] << 8;
    bad[chunk + 12 + 4] = 0xff;
    bad[chunk + 12 + 5] = 0xff;
    const uint32_t chunkCrc = replayCrc32(bad.data() + chunk, 12 + length);
    for (int i = 0; i < 4; ++i)
        bad[chunk + 12 + length + i] = static_cast<uint8_t>(chunkCrc >> (8 * i));
    expectRefused(bad, "absurd step count");

    const ReplayReading dir = readReplay(testing::TempDir());
    EXPECT_NE(dir.error.find("is a directory"), std::string::npos) << dir.error;
    const ReplayReading missing = readReplay(path_ + ".none");
    EXPECT_EQ(missing.error, path_ + ".none: cannot be opened: No such file or directory");
}

} // namespace
