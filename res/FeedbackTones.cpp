#include "res/FeedbackTones.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

struct Note {
    double hertz;
    double seconds;
};

constexpr std::array<const char*, 3> kNames{"found", "notfound", "gesturewaiting"};

std::vector<Note> NotesOf(const std::string& name) {
    if (name == "found")
        return {{660, 0.07}, {880, 0.11}};
    if (name == "notfound")
        return {{392, 0.10}, {262, 0.16}};
    if (name == "gesturewaiting")
        return {{1175, 0.05}};
    return {};
}

std::vector<std::int16_t> Samples(const std::vector<Note>& notes) {
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kLoudness = 0.35 * 32767;
    // A few milliseconds of fade at each end of a note keep it from clicking.
    constexpr double kFade = 0.004;
    std::vector<std::int16_t> out;
    for (const Note& note : notes) {
        const int count = static_cast<int>(note.seconds * FeedbackTones::kSampleRate);
        for (int i = 0; i < count; ++i) {
            const double t = static_cast<double>(i) / FeedbackTones::kSampleRate;
            const double edge = std::min(t, note.seconds - t);
            const double gain = std::min(1.0, edge / kFade);
            const double v = std::sin(2 * kPi * note.hertz * t) * gain * kLoudness;
            out.push_back(static_cast<std::int16_t>(std::lround(v)));
        }
    }
    return out;
}

// Writes little-endian fields into a file whose size is known before its first byte, so
// nothing grows (or moves) while it is written.
class WaveWriter {
public:
    explicit WaveWriter(std::size_t size) : out_(size) {}
    void Put(std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out_.at(at_++) = static_cast<std::uint8_t>(value >> (8 * i));
    }
    void PutTag(const char (&tag)[5]) {
        for (int i = 0; i < 4; ++i)
            out_.at(at_++) = static_cast<std::uint8_t>(tag[i]);
    }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
    std::size_t at_ = 0;
};

} // namespace

std::span<const char* const> FeedbackTones::Names() {
    return kNames;
}

std::vector<std::uint8_t> FeedbackTones::WaveFile(const std::string& name) {
    const std::vector<Note> notes = NotesOf(name);
    if (notes.empty())
        return {};
    const std::vector<std::int16_t> samples = Samples(notes);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    WaveWriter out(44 + std::size_t(dataBytes));
    out.PutTag("RIFF");
    out.Put(36 + dataBytes, 4);
    out.PutTag("WAVE");
    out.PutTag("fmt ");
    out.Put(16, 4);              // format block size
    out.Put(1, 2);               // PCM
    out.Put(1, 2);               // mono
    out.Put(kSampleRate, 4);     // frames a second
    out.Put(kSampleRate * 2, 4); // bytes a second
    out.Put(2, 2);               // bytes a frame
    out.Put(16, 2);              // bits a sample
    out.PutTag("data");
    out.Put(dataBytes, 4);
    for (const std::int16_t s : samples)
        out.Put(static_cast<std::uint16_t>(s), 2);
    return out.Take();
}
