// Wave files written byte by byte, so that what each holds is known without the decoder
// under test.
#pragma once

#include <cstdint>
#include <string>

// How a test file is stored: WAVE format tag (1 integer PCM, 3 float, 0xFFFE extensible),
// bits per sample, channels, frames per second, and whether chunks come before the data.
struct WaveForm {
    const char* name;
    int tag;
    int bits;
    int channels;
    int rate;
    bool extraChunks = false;
};

// Appends the low `bytes` bytes of `value`, least significant first.
void Put(std::string& out, std::uint32_t value, int bytes);

// A wave file of the given form around the given sample data.
std::string WaveBytes(const WaveForm& form, const std::string& data);
