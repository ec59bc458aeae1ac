// The RIFF/WAVE layout of the game's sounds: written by the sound synthesiser,
// checked by the audio layer before a file reaches the WAV loader, read back by tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Wav {

// Canonical 44-byte header of a PCM file: "RIFF" size "WAVE", a 16-byte "fmt "
// chunk, then the "data" chunk.
constexpr size_t kHeaderSize = 44;
constexpr uint16_t kFormatPcm = 1;
// What many sound editors write for plain PCM: the real format is the first two
// bytes of the sub-format GUID at byte 24 of a "fmt " chunk of at least 40 bytes.
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint16_t kBitsPerSample = 16;
// Files larger than this are refused before any loader allocates for them: the
// longest sound the game ships (the music) is a few megabytes.
constexpr uint64_t kMaxFileBytes = 64u * 1024u * 1024u;

struct Info {
    uint16_t format = 0;
    uint16_t channels = 0;
    uint32_t sample_rate = 0;
    uint16_t bits_per_sample = 0;
    size_t format_offset = 0; // byte offset of the format tag in the file
    size_t data_offset = 0;   // byte offset of the sample data in the file
    uint32_t data_bytes = 0;  // length of the sample data in bytes
};

inline void PutU16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline uint16_t GetU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The header for `frames` mono 16-bit samples at `sample_rate`.
inline void WriteMonoHeader(uint8_t out[kHeaderSize], uint32_t sample_rate, uint32_t frames) {
    const uint32_t data_bytes = frames * 2u;
    const uint8_t tags[] = {'R', 'I', 'F', 'F', 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 'd', 'a', 't', 'a'};
    for (int i = 0; i < 4; ++i) {
        out[i] = tags[i];
        out[8 + i] = tags[4 + i];
        out[12 + i] = tags[8 + i];
        out[36 + i] = tags[12 + i];
    }
    PutU32(out + 4, 36u + data_bytes);
    PutU32(out + 16, 16u);
    PutU16(out + 20, kFormatPcm);
    PutU16(out + 22, 1);
    PutU32(out + 24, sample_rate);
    PutU32(out + 28, sample_rate * 2u);
    PutU16(out + 32, 2);
    PutU16(out + 34, kBitsPerSample);
    PutU32(out + 40, data_bytes);
}

inline bool TagIs(const uint8_t* p, const char* tag) {
    return p[0] == uint8_t(tag[0]) && p[1] == uint8_t(tag[1]) && p[2] == uint8_t(tag[2]) && p[3] == uint8_t(tag[3]);
}

// Walks the chunks of a whole file in memory. True only for a PCM file of 8 or 16
// bits, 1 or 2 channels, a sane rate, whose "fmt " and "data" chunks lie wholly
// inside the buffer. Never reads outside [bytes, bytes + size).
inline bool Parse(const uint8_t* bytes, size_t size, Info& info) {
    info = Info();
    if (size < 12 || !TagIs(bytes, "RIFF") || !TagIs(bytes + 8, "WAVE")) return false;
    bool have_fmt = false, have_data = false;
    size_t pos = 12;
    while (size - pos >= 8 && !(have_fmt && have_data)) {
        const uint8_t* chunk = bytes + pos;
        const uint64_t length = GetU32(chunk + 4);
        const size_t body = pos + 8;
        if (length > size - body) return false;
        if (TagIs(chunk, "fmt ")) {
            if (length < 16) return false;
            info.format = GetU16(bytes + body);
            info.format_offset = body;
            if (info.format == kFormatExtensible && length >= 40 && TagIs(bytes + body + 26, "\0\0\0\0") &&
                GetU16(bytes + body + 24) == kFormatPcm)
                info.format = kFormatPcm; // PCM in the extensible layout
            info.channels = GetU16(bytes + body + 2);
            info.sample_rate = GetU32(bytes + body + 4);
            info.bits_per_sample = GetU16(bytes + body + 14);
            have_fmt = true;
        } else if (TagIs(chunk, "data")) {
            info.data_offset = body;
            info.data_bytes = uint32_t(length);
            have_data = true;
        }
        // Chunks are padded to an even length.
        const uint64_t next = uint64_t(body) + length + (length & 1u);
        if (next > size) break;
        pos = size_t(next);
    }
    if (!have_fmt || !have_data) return false;
    if (info.format != kFormatPcm) return false;
    if (info.channels != 1 && info.channels != 2) return false;
    if (info.bits_per_sample != 8 && info.bits_per_sample != 16) return false;
    if (info.sample_rate < 1000 || info.sample_rate > 192000) return false;
    return true;
}

// The 16-bit mono samples of a parsed file; empty for any other layout.
inline std::vector<int16_t> MonoSamples(const uint8_t* bytes, const Info& info) {
    std::vector<int16_t> samples;
    if (info.channels != 1 || info.bits_per_sample != 16) return samples;
    samples.resize(info.data_bytes / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(GetU16(bytes + info.data_offset + 2 * i));
    return samples;
}

} // namespace Wav
