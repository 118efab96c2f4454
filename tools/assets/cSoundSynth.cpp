// Synthesises the game's six sound effects from the note tables in cSoundSynth.cpp.
#include "cSoundSynth.h"

#include <cmath>
#include <cstdint>

namespace {

const double kPi = 3.14159265358979323846;

// A timbre is a few partials over the note's frequency; upper partials die away faster,
// which is what makes a struck bar or bell sound struck.
struct cPartial
{
    double ratio;      // frequency relative to the note
    double level;      // loudness relative to the fundamental
    double decayScale; // this partial's decay time relative to the note's
};

struct cTimbre
{
    cPartial partials[4];
    double noise;      // share of a short filtered noise burst at the strike
    double noiseDecay; // seconds
};

// Chimes: a soft bell (partials of a small tuned bar, slightly stretched).
const cTimbre kBell = {
    {{1.0, 1.0, 1.0}, {2.0, 0.35, 0.6}, {3.01, 0.15, 0.35}, {4.2, 0.06, 0.2}}, 0.0, 0.0};
// Marimba-like wooden bar: warm and round, for the "try again" figure.
const cTimbre kMarimba = {
    {{1.0, 1.0, 1.0}, {3.93, 0.18, 0.25}, {9.2, 0.04, 0.1}, {0.0, 0.0, 0.0}}, 0.02, 0.004};
// A log set down on wood: low hollow body, a couple of inharmonic resonances, a thud.
const cTimbre kKnock = {
    {{1.0, 1.0, 1.0}, {2.31, 0.55, 0.6}, {3.87, 0.3, 0.4}, {6.1, 0.12, 0.25}}, 0.35, 0.006};
// A soft tick: short, mid-high, no ring.
const cTimbre kTick = {
    {{1.0, 1.0, 1.0}, {1.63, 0.4, 0.7}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}}, 0.25, 0.003};

struct cNote
{
    double start; // seconds
    double freq;  // Hz
    double level; // 0..1 before the sound is normalised
    double decay; // seconds for the fundamental to fall to 1/e
    const cTimbre* timbre;
};

struct cSound
{
    const char* name;
    double length; // seconds
    double peak;   // loudest sample after normalising (full scale is 1)
    const cNote* notes;
    int noteCount;
    bool applause; // the crowd generator below instead of notes
};

// Musical pitches used below (equal temperament, A4 = 440 Hz).
const double C5 = 523.25, D5 = 587.33, E5 = 659.26, G5 = 783.99, C6 = 1046.5, E6 = 1318.5,
             G6 = 1567.98;

const cNote kKlik[] = {{0.0, 1900.0, 1.0, 0.006, &kTick}};
// Rising triad: "hello".
const cNote kPrijava[] = {
    {0.00, C6, 0.8, 0.28, &kBell}, {0.11, E6, 0.7, 0.26, &kBell}, {0.22, G6, 0.7, 0.30, &kBell}};
// Falling triad: "goodbye" (also greets the intro).
const cNote kOdjava[] = {
    {0.00, G5, 0.8, 0.26, &kBell}, {0.13, E5, 0.75, 0.26, &kBell}, {0.26, C5, 0.8, 0.34, &kBell}};
const cNote kUbac[] = {{0.0, 190.0, 1.0, 0.05, &kKnock}, {0.004, 420.0, 0.35, 0.03, &kKnock}};
// Down, then a hopeful step back up: "oh... once more!".
const cNote kPonovo[] = {{0.00, E5, 0.7, 0.22, &kMarimba},
                         {0.20, C5, 0.7, 0.24, &kMarimba},
                         {0.52, D5, 0.55, 0.16, &kMarimba},
                         {0.66, G5, 0.6, 0.26, &kMarimba}};

const cSound kSounds[] = {
    {"klik", 0.06, 0.45, kKlik, 1, false},    {"prijava", 0.95, 0.7, kPrijava, 3, false},
    {"odjava", 0.98, 0.7, kOdjava, 3, false}, {"ubac", 0.30, 0.75, kUbac, 2, false},
    {"aplauz", 2.6, 0.6, nullptr, 0, true},   {"ponovo", 1.1, 0.6, kPonovo, 4, false},
};

// Fixed-seed generator with the same output on every machine and library.
class cRandom
{
public:
    explicit cRandom(uint32_t seed) : state(seed) {}
    double Next() // in [0, 1)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }

private:
    uint32_t state;
};

void AddNote(const cNote& note, std::vector<float>* out, cRandom* random)
{
    const int begin = static_cast<int>(note.start * cSoundSynth::kSampleRate);
    const double attack = 0.002; // fast enough to strike, slow enough not to pop
    double low = 0.0, lowest = 0.0;
    for (int i = begin; i < static_cast<int>(out->size()); ++i) {
        const double t = static_cast<double>(i - begin) / cSoundSynth::kSampleRate;
        const double rise = t < attack ? t / attack : 1.0;
        double v = 0.0;
        for (const cPartial& p : note.timbre->partials) {
            if (p.level <= 0.0 || note.freq * p.ratio > cSoundSynth::kSampleRate / 2.5)
                continue;
            v += p.level * std::exp(-t / (note.decay * p.decayScale)) *
                 std::sin(2.0 * kPi * note.freq * p.ratio * t);
        }
        if (note.timbre->noise > 0.0) {
            // Band-limited noise: two one-pole low-passes, the difference keeps the middle.
            const double white = random->Next() * 2.0 - 1.0;
            low += 0.35 * (white - low);
            lowest += 0.05 * (low - lowest);
            v += note.timbre->noise * std::exp(-t / note.timbre->noiseDecay) * (low - lowest) * 3.0;
        }
        (*out)[i] += static_cast<float>(note.level * rise * v);
    }
}

// A small audience: each clap is a short band-passed noise burst; clapping swells in,
// holds, and thins out towards the end.
void AddApplause(double length, std::vector<float>* out)
{
    cRandom random(20240611u);
    const int clappers = 14;
    for (int c = 0; c < clappers; ++c) {
        const double rate = 4.0 + random.Next() * 2.5;  // claps per second
        const double tone = 0.25 + random.Next() * 0.3; // brighter or duller hands
        double t = random.Next() * 0.15;
        while (t < length - 0.1) {
            const double swell = t < 0.2 ? t / 0.2 : 1.0;
            const double fade = t > length - 1.2 ? (length - t) / 1.2 : 1.0;
            if (random.Next() < fade * 1.1) {
                const int begin = static_cast<int>(t * cSoundSynth::kSampleRate);
                const double level = (0.6 + 0.4 * random.Next()) * swell;
                double low = 0.0, lowest = 0.0;
                for (int i = 0; i < cSoundSynth::kSampleRate / 25; ++i) {
                    if (begin + i >= static_cast<int>(out->size()))
                        break;
                    const double s = static_cast<double>(i) / cSoundSynth::kSampleRate;
                    const double white = random.Next() * 2.0 - 1.0;
                    low += tone * (white - low);
                    lowest += 0.04 * (low - lowest);
                    const double envelope = (s < 0.0008 ? s / 0.0008 : 1.0) * std::exp(-s / 0.009);
                    (*out)[begin + i] += static_cast<float>(level * envelope * (low - lowest));
                }
            }
            t += (0.75 + 0.5 * random.Next()) / rate;
        }
    }
}

void Normalise(double peak, std::vector<float>* samples)
{
    float loudest = 0.0f;
    for (float s : *samples)
        loudest = std::fmax(loudest, std::fabs(s));
    if (loudest <= 0.0f)
        return;
    const float gain = static_cast<float>(peak / loudest);
    // A short fade at the very end so a sound cut off by its length never clicks.
    const size_t tail = cSoundSynth::kSampleRate / 100;
    for (size_t i = 0; i < samples->size(); ++i) {
        float g = gain;
        const size_t left = samples->size() - i;
        if (left < tail)
            g *= static_cast<float>(left) / tail;
        (*samples)[i] *= g;
    }
}

} // namespace

bool cSoundSynth::Synthesise(const std::string& name, std::vector<float>* samples)
{
    for (const cSound& sound : kSounds) {
        if (name != sound.name)
            continue;
        samples->assign(static_cast<size_t>(sound.length * kSampleRate), 0.0f);
        cRandom random(7u);
        if (sound.applause)
            AddApplause(sound.length, samples);
        for (int i = 0; i < sound.noteCount; ++i)
            AddNote(sound.notes[i], samples, &random);
        Normalise(sound.peak, samples);
        return true;
    }
    return false;
}

std::string cSoundSynth::Names()
{
    std::string names;
    for (const cSound& sound : kSounds)
        names += (names.empty() ? "" : " ") + std::string(sound.name);
    return names;
}
