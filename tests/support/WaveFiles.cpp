// Wave files written byte by byte.
#include "tests/support/WaveFiles.h"

void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

static void PutChunk(std::string& out, const char* id, const std::string& body)
{
    out += id;
    Put(out, static_cast<std::uint32_t>(body.size()), 4);
    out += body;
    if (body.size() % 2)
        out += '\0'; // a chunk of odd length is followed by a pad byte
}

std::string WaveBytes(const WaveForm& form, const std::string& data)
{
    const int bytesPerSample = form.bits / 8;
    std::string fmt;
    Put(fmt, form.tag, 2);
    Put(fmt, form.channels, 2);
    Put(fmt, form.rate, 4);
    Put(fmt, form.rate * form.channels * bytesPerSample, 4);
    Put(fmt, form.channels * bytesPerSample, 2);
    Put(fmt, form.bits, 2);
    if (form.tag == 0xFFFE) {
        Put(fmt, 22, 2);
        Put(fmt, form.bits, 2);
        Put(fmt, form.channels == 1 ? 0x4 : 0x3, 4);
        // The PCM sub-format's GUID.
        fmt += std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
    }
    std::string body = "WAVE";
    PutChunk(body, "fmt ", fmt);
    if (form.extraChunks) {
        PutChunk(body, "LIST", std::string("INFOINAM\x06\0\0\0Chime\0", 18));
        PutChunk(body, "junk", "odd"); // odd length: the data starts after its pad byte
    }
    PutChunk(body, "data", data);
    std::string file = "RIFF";
    Put(file, static_cast<std::uint32_t>(body.size()), 4);
    return file + body;
}
