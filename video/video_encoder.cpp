// The MP4 writer: the pictures go through libswscale into 4:2:0, the sound through
// libswresample into the planar floats FFmpeg's AAC encoder takes, and libavformat
// interleaves both into the file.
#include "video/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <vector>

namespace {

// Near-transparent for the game's pictures (flat colours, sharp stars and text) at a
// few megabits per second; "fast" keeps encoding well ahead of drawing.
constexpr const char* X264_PRESET = "fast";
constexpr const char* X264_CRF = "18";
constexpr int64_t AUDIO_BIT_RATE = 160000;

std::string ffmpegError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

struct VideoEncoder::State {
    std::string path;
    std::string error;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    int width = 0, height = 0;
    int64_t picturesWritten = 0;
    int64_t soundFramesWritten = 0;
    // Interleaved samples waiting for a whole encoder frame.
    std::vector<int16_t> pendingSound;
    bool headerWritten = false;
    bool fileOpen = false;

    bool fail(const std::string& what, int code) {
        if (error.empty())
            error = path + ": " + what + (code < 0 ? " (" + ffmpegError(code) + ")" : "");
        return false;
    }

    // Sends one frame (null drains) and writes every packet the encoder gives back.
    bool encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
        int status = avcodec_send_frame(codec, frame);
        if (status < 0)
            return fail("the encoder refused a frame", status);
        while ((status = avcodec_receive_packet(codec, packet)) >= 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            status = av_interleaved_write_frame(format, packet);
            if (status < 0)
                return fail("cannot write", status);
        }
        if (status != AVERROR(EAGAIN) && status != AVERROR_EOF)
            return fail("the encoder failed", status);
        if (format->pb && format->pb->error < 0)
            return fail("cannot write", format->pb->error);
        return true;
    }

    bool encodeSound(int frames) {
        int status = av_frame_make_writable(sound);
        if (status < 0)
            return fail("out of memory for the sound", status);
        sound->nb_samples = frames;
        const uint8_t* in[] = {reinterpret_cast<const uint8_t*>(pendingSound.data())};
        status = swr_convert(resampler, sound->data, frames, in, frames);
        if (status != frames)
            return fail("cannot convert the sound", status);
        sound->pts = soundFramesWritten;
        soundFramesWritten += frames;
        pendingSound.erase(pendingSound.begin(), pendingSound.begin() + 2 * frames);
        return encode(audio, audioStream, sound);
    }

    ~State() {
        if (fileOpen)
            avio_closep(&format->pb);
        avformat_free_context(format);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        sws_freeContext(scaler);
        swr_free(&resampler);
        av_frame_free(&picture);
        av_frame_free(&sound);
        av_packet_free(&packet);
    }
};

VideoEncoder::VideoEncoder() : state_(new State) {}
VideoEncoder::~VideoEncoder() = default;

const std::string& VideoEncoder::error() const { return state_->error; }

bool VideoEncoder::open(const std::string& path, int width, int height, int framesPerSecond,
                        int sampleRate, const std::string& shownName) {
    State& s = *state_;
    s.path = shownName.empty() ? path : shownName;
    s.width = width;
    s.height = height;
    av_log_set_level(AV_LOG_ERROR);
    int status = avformat_alloc_output_context2(&s.format, nullptr, "mp4", path.c_str());
    if (status < 0)
        return s.fail("cannot start an MP4", status);

    const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
    const AVCodec* aac = avcodec_find_encoder_by_name("aac");
    if (!h264 || !aac)
        return s.fail(std::string("this FFmpeg has no ") + (h264 ? "AAC" : "libx264") + " encoder",
                      0);
    s.videoStream = avformat_new_stream(s.format, nullptr);
    s.audioStream = avformat_new_stream(s.format, nullptr);
    s.video = avcodec_alloc_context3(h264);
    s.audio = avcodec_alloc_context3(aac);
    s.picture = av_frame_alloc();
    s.sound = av_frame_alloc();
    s.packet = av_packet_alloc();
    if (!s.videoStream || !s.audioStream || !s.video || !s.audio || !s.picture || !s.sound ||
        !s.packet)
        return s.fail("out of memory for the encoders", 0);

    AVCodecContext& v = *s.video;
    v.width = evenSize(width);
    v.height = evenSize(height);
    v.pix_fmt = AV_PIX_FMT_YUV420P;
    v.time_base = AVRational{1, framesPerSecond};
    v.framerate = AVRational{framesPerSecond, 1};
    // libswscale converts with BT.601 in the limited range; say so, so that players
    // turn it back the same way.
    v.color_range = AVCOL_RANGE_MPEG;
    v.colorspace = AVCOL_SPC_SMPTE170M;
    v.color_primaries = AVCOL_PRI_SMPTE170M;
    v.color_trc = AVCOL_TRC_SMPTE170M;
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        v.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(v.priv_data, "preset", X264_PRESET, 0);
    av_opt_set(v.priv_data, "crf", X264_CRF, 0);
    if ((status = avcodec_open2(s.video, h264, nullptr)) < 0)
        return s.fail("cannot start the H.264 encoder", status);

    AVCodecContext& a = *s.audio;
    a.sample_fmt = AV_SAMPLE_FMT_FLTP;
    a.sample_rate = sampleRate;
    a.bit_rate = AUDIO_BIT_RATE;
    a.time_base = AVRational{1, sampleRate};
    av_channel_layout_default(&a.ch_layout, 2);
    if (s.format->oformat->flags & AVFMT_GLOBALHEADER)
        a.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if ((status = avcodec_open2(s.audio, aac, nullptr)) < 0)
        return s.fail("cannot start the AAC encoder", status);

    if ((status = avcodec_parameters_from_context(s.videoStream->codecpar, s.video)) < 0 ||
        (status = avcodec_parameters_from_context(s.audioStream->codecpar, s.audio)) < 0)
        return s.fail("cannot describe the streams", status);
    s.videoStream->time_base = v.time_base;
    s.videoStream->avg_frame_rate = v.framerate;
    s.audioStream->time_base = a.time_base;

    s.picture->format = v.pix_fmt;
    s.picture->width = v.width;
    s.picture->height = v.height;
    s.sound->format = a.sample_fmt;
    s.sound->sample_rate = sampleRate;
    s.sound->nb_samples = a.frame_size;
    if ((status = av_channel_layout_copy(&s.sound->ch_layout, &a.ch_layout)) < 0 ||
        (status = av_frame_get_buffer(s.picture, 0)) < 0 ||
        (status = av_frame_get_buffer(s.sound, 0)) < 0)
        return s.fail("out of memory for the frames", status);

    // The picture is cut, never scaled: the source is read at the even size.
    s.scaler = sws_getContext(v.width, v.height, AV_PIX_FMT_RGB24, v.width, v.height,
                              AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    status = swr_alloc_set_opts2(&s.resampler, &a.ch_layout, AV_SAMPLE_FMT_FLTP, sampleRate,
                                 &stereo, AV_SAMPLE_FMT_S16, sampleRate, 0, nullptr);
    if (!s.scaler || status < 0 || (status = swr_init(s.resampler)) < 0)
        return s.fail("cannot start the conversions", status);

    if ((status = avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        return s.fail("cannot write", status);
    s.fileOpen = true;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    status = avformat_write_header(s.format, &options);
    av_dict_free(&options);
    if (status < 0)
        return s.fail("cannot write", status);
    s.headerWritten = true;
    return true;
}

bool VideoEncoder::addPicture(const RgbImage& picture) {
    State& s = *state_;
    if (!s.headerWritten)
        return false;
    if (picture.width != s.width || picture.height != s.height)
        return s.fail("a picture of another size", 0);
    int status = av_frame_make_writable(s.picture);
    if (status < 0)
        return s.fail("out of memory for a picture", status);
    const uint8_t* rows[] = {picture.pixels.data()};
    const int strides[] = {picture.width * 3};
    sws_scale(s.scaler, rows, strides, 0, s.video->height, s.picture->data, s.picture->linesize);
    s.picture->pts = s.picturesWritten++;
    return s.encode(s.video, s.videoStream, s.picture);
}

bool VideoEncoder::addSound(const int16_t* samples, int frames) {
    State& s = *state_;
    if (!s.headerWritten)
        return false;
    s.pendingSound.insert(s.pendingSound.end(), samples, samples + 2 * frames);
    const int frameSize = s.audio->frame_size;
    while (static_cast<int>(s.pendingSound.size() / 2) >= frameSize)
        if (!s.encodeSound(frameSize))
            return false;
    return true;
}

bool VideoEncoder::finish() {
    State& s = *state_;
    if (!s.headerWritten)
        return false;
    if (!s.pendingSound.empty() && !s.encodeSound(static_cast<int>(s.pendingSound.size() / 2)))
        return false;
    if (!s.encode(s.video, s.videoStream, nullptr) || !s.encode(s.audio, s.audioStream, nullptr))
        return false;
    int status = av_write_trailer(s.format);
    s.headerWritten = false;
    if (status < 0)
        return s.fail("cannot complete the file", status);
    if (s.format->pb->error < 0)
        return s.fail("cannot write", s.format->pb->error);
    s.fileOpen = false;
    if ((status = avio_closep(&s.format->pb)) < 0)
        return s.fail("cannot write", status);
    return true;
}
