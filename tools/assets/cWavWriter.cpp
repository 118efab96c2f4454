// Writes mono 16-bit PCM WAV files from floating-point samples.
#include "cWavWriter.h"

#include "cByteFile.h"

#include <cmath>
#include <cstdint>

namespace {

void Put32(std::vector<uint8_t>* out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<uint8_t>* out, uint16_t v)
{
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

void PutTag(std::vector<uint8_t>* out, const char* tag)
{
    out->insert(out->end(), tag, tag + 4);
}

} // namespace

bool cWavWriter::Write(const std::string& path, const std::vector<float>& samples, int sampleRate,
                       std::string* error)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    PutTag(&out, "RIFF");
    Put32(&out, 36 + dataBytes);
    PutTag(&out, "WAVE");
    PutTag(&out, "fmt ");
    Put32(&out, 16);
    Put16(&out, 1); // PCM
    Put16(&out, 1); // mono
    Put32(&out, static_cast<uint32_t>(sampleRate));
    Put32(&out, static_cast<uint32_t>(sampleRate) * 2);
    Put16(&out, 2);
    Put16(&out, 16);
    PutTag(&out, "data");
    Put32(&out, dataBytes);
    for (float s : samples) {
        const float clamped = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
        Put16(&out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clamped * 32767.0f))));
    }
    return cByteFile::Write(path, out.data(), out.size(), error);
}
