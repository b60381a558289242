// Writing pictures and sound as an MP4 that browsers and common players open: H.264
// (libx264, 4:2:0) and AAC stereo (FFmpeg's own encoder), through FFmpeg's libraries.
#pragma once

#include "video/frame_reading.h"

#include <cstdint>
#include <memory>
#include <string>

// H.264 in 4:2:0 takes only even sizes: an odd width or height loses its last column
// or row.
inline int evenSize(int size) { return size & ~1; }

class VideoEncoder {
public:
    VideoEncoder();
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Starts an MP4 at `path` for pictures of width by height at `framesPerSecond`,
    // cut to even sizes, and 16-bit stereo sound at `sampleRate`. False, with a
    // message in error(), when the file or an encoder cannot be made. Messages name
    // the file `shownName` (a temporary file the name it will get), else `path`.
    bool open(const std::string& path, int width, int height, int framesPerSecond, int sampleRate,
              const std::string& shownName = "");
    // The next picture, of the size given to open.
    bool addPicture(const RgbImage& picture);
    // The next `frames` frames of interleaved left, right samples.
    bool addSound(const int16_t* samples, int frames);
    // Drains the encoders and completes the file (its index moved to the front, so
    // that a browser starts playing before it has all of it); false on a failure.
    bool finish();
    const std::string& error() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
