// The sound generator: oscillators, filtered noise and decaying envelopes, worked in
// floats and written out at a fixed peak.
#include "sound/sound_bank.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TWO_PI = 6.2831853f;
constexpr float DT = 1.0f / SOUND_RATE;

// Our own generator: the world's std::rand sequence must not be touched by sound.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1u) {}
    // Uniform in [-1, 1).
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
    }

private:
    uint32_t state_;
};

// One-pole low-pass: the smoothing factor for a cut-off frequency.
float lowPassFactor(float hz) { return 1.0f - std::exp(-TWO_PI * hz * DT); }

int framesFor(float seconds) { return static_cast<int>(seconds * SOUND_RATE); }

// Envelope of a struck sound: a short linear rise, then exponential decay.
float strike(float t, float rise, float decay) {
    return t < rise ? t / rise : std::exp(-(t - rise) / decay);
}

// Scales the signal so that its largest sample is `peak` of full scale and writes it
// to both sides.
SoundSamples atPeak(const std::vector<float>& x, float peak) {
    float top = 0.0f;
    for (float v : x)
        top = std::max(top, std::fabs(v));
    const float scale = top > 0.0f ? peak * 32767.0f / top : 0.0f;
    SoundSamples out;
    out.samples.resize(2 * x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        const auto s = static_cast<int16_t>(std::lround(x[i] * scale));
        out.samples[2 * i] = s;
        out.samples[2 * i + 1] = s;
    }
    return out;
}

// Writes a one-shot sound: the DC is taken out, the peak set to `peak`, and the ends
// ramped so that it starts and stops at zero without a click.
SoundSamples finish(std::vector<float> x, float peak) {
    // A gentle high-pass (about 30 Hz) removes the offset of the filtered noise.
    const float r = 1.0f - TWO_PI * 30.0f * DT;
    float previousIn = 0.0f;
    float previousOut = 0.0f;
    for (float& v : x) {
        const float out = v - previousIn + r * previousOut;
        previousIn = v;
        previousOut = out;
        v = out;
    }
    const int n = static_cast<int>(x.size());
    const int rise = std::min(n / 2, framesFor(0.001f));
    const int fall = std::min(n / 2, framesFor(0.010f));
    for (int i = 0; i < rise; ++i)
        x[i] *= static_cast<float>(i) / rise;
    for (int i = 0; i < fall; ++i)
        x[n - 1 - i] *= static_cast<float>(i) / fall;

    return atPeak(x, peak);
}

} // namespace

SoundSamples makeShotSound(uint32_t seed) {
    Noise noise(seed);
    const int n = framesFor(0.15f);
    std::vector<float> x(n);
    // Falls from about 1500 Hz to 350 Hz; the seed detunes it slightly.
    const float start = 1500.0f * (1.0f + 0.03f * noise.next());
    const float end = 350.0f;
    float phase = 0.0f;
    float hiss = 0.0f;
    const float hissFactor = lowPassFactor(4000.0f);
    for (int i = 0; i < n; ++i) {
        const float t = i * DT;
        const float f = start * std::pow(end / start, t / 0.15f);
        phase += TWO_PI * f * DT;
        if (phase > TWO_PI)
            phase -= TWO_PI;
        hiss += hissFactor * (noise.next() - hiss);
        const float tone = std::sin(phase) + 0.25f * std::sin(2.0f * phase);
        x[i] = strike(t, 0.002f, 0.045f) * tone + strike(t, 0.001f, 0.008f) * 0.6f * hiss;
    }
    return finish(std::move(x), SHOT_PEAK);
}

SoundSamples makeHitSound(uint32_t seed) {
    Noise noise(seed);
    const int n = framesFor(0.45f);
    std::vector<float> x(n);
    // Inharmonic partials ring like struck metal.
    constexpr int PARTIALS = 4;
    const float base[PARTIALS] = {420.0f, 1090.0f, 1730.0f, 2590.0f};
    const float level[PARTIALS] = {0.5f, 0.35f, 0.25f, 0.15f};
    const float decay[PARTIALS] = {0.22f, 0.16f, 0.12f, 0.09f};
    float freq[PARTIALS];
    for (int k = 0; k < PARTIALS; ++k)
        freq[k] = base[k] * (1.0f + 0.02f * noise.next());
    float thumpPhase = 0.0f;
    float smooth = 0.0f;
    const float smoothFactor = lowPassFactor(1500.0f);
    for (int i = 0; i < n; ++i) {
        const float t = i * DT;
        // The thump falls from 110 Hz to 45 Hz.
        const float thumpFreq = 45.0f + 65.0f * std::exp(-t / 0.05f);
        thumpPhase += TWO_PI * thumpFreq * DT;
        float v = strike(t, 0.003f, 0.09f) * std::sin(thumpPhase);
        for (int k = 0; k < PARTIALS; ++k)
            v += level[k] * strike(t, 0.001f, decay[k]) * std::sin(TWO_PI * freq[k] * t);
        // The crack: the noise with its low part taken out.
        const float white = noise.next();
        smooth += smoothFactor * (white - smooth);
        v += 0.6f * strike(t, 0.0005f, 0.008f) * (white - smooth);
        x[i] = v;
    }
    return finish(std::move(x), HIT_PEAK);
}

SoundSamples makeExplosionSound(uint32_t seed) {
    Noise noise(seed);
    const int n = framesFor(0.9f);
    std::vector<float> x(n);
    float bright1 = 0.0f;
    float bright2 = 0.0f;
    float rumble1 = 0.0f;
    float rumble2 = 0.0f;
    const float rumbleFactor = lowPassFactor(120.0f);
    for (int i = 0; i < n; ++i) {
        const float t = i * DT;
        const float white = noise.next();
        // The burst darkens as it dies: its cut-off falls from 2500 Hz to 200 Hz.
        const float a = lowPassFactor(200.0f + 2300.0f * std::exp(-t / 0.12f));
        bright1 += a * (white - bright1);
        bright2 += a * (bright1 - bright2);
        rumble1 += rumbleFactor * (white - rumble1);
        rumble2 += rumbleFactor * (rumble1 - rumble2);
        x[i] = strike(t, 0.004f, 0.22f) * bright2 + 6.0f * strike(t, 0.02f, 0.3f) * rumble2;
    }
    return finish(std::move(x), EXPLOSION_PEAK);
}

SoundSamples makeEngineLoop(uint32_t seed) {
    Noise noise(seed);
    // Half a second: every frequency below is a whole number of cycles in it.
    const int n = SOUND_RATE / 2;
    std::vector<float> x(n);
    const float fundamental = 62.0f;
    const float harmonic[4] = {1.0f, 0.5f, 0.3f, 0.15f};
    // The rush of air: noise low-passed around the loop twice, so that its end runs
    // on into its start.
    std::vector<float> rush(n);
    for (float& v : rush)
        v = noise.next();
    const float rushFactor = lowPassFactor(700.0f);
    float state = 0.0f;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < n; ++i) {
            state += rushFactor * (rush[i] - state);
            if (pass == 1)
                rush[i] = state;
        }
    double mean = 0.0;
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / SOUND_RATE;
        float hum = 0.0f;
        for (int k = 0; k < 4; ++k)
            hum += harmonic[k] * std::sin(TWO_PI * fundamental * (k + 1) * t);
        // A slow throb, 8 times a second.
        const float throb = 1.0f + 0.15f * std::sin(TWO_PI * 8.0f * t);
        x[i] = throb * hum + 2.5f * rush[i];
        mean += x[i];
    }
    mean /= n;
    for (float& v : x)
        v -= static_cast<float>(mean);
    return atPeak(x, ENGINE_PEAK);
}
