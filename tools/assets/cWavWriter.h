// Writes mono 16-bit PCM WAV files from floating-point samples.
#pragma once

#include <string>
#include <vector>

class cWavWriter
{
public:
    // Samples are in [-1, 1]; anything beyond is clamped rather than wrapped.
    static bool Write(const std::string& path, const std::vector<float>& samples, int sampleRate,
                      std::string* error);
};
