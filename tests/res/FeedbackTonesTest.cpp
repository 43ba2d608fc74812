#include "res/FeedbackTones.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return out;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()))
        out += buffer.data();
    return out;
}

} // namespace

// Python's wave module reads each file on its own terms: format, length and loudness.
TEST(FeedbackTones, EachSoundIsAShortMonoWaveFileThatAnotherReaderAccepts) {
    const TempFolder folder("tones");
    ASSERT_EQ(FeedbackTones::Names().size(), 3u);
    for (const char* name : FeedbackTones::Names()) {
        const auto bytes = FeedbackTones::WaveFile(name);
        ASSERT_GT(bytes.size(), 44u) << name;
        const std::string path = folder.File(std::string(name) + ".wav");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        const std::string script =
            "import wave,array,sys\n"
            "w=wave.open(sys.argv[1])\n"
            "a=array.array('h',w.readframes(w.getnframes()))\n"
            "print(w.getnchannels(),w.getsampwidth(),w.getframerate(),w.getnframes(),"
            "max(a),abs(a[0])<200 and abs(a[-1])<200)\n";
        std::ofstream(folder.File("read.py")) << script;
        const std::string out = Output("python3 '" + folder.File("read.py") + "' '" + path + "'");
        int channels = 0, width = 0, rate = 0, frames = 0, peak = 0;
        char quiet[8] = {};
        ASSERT_EQ(std::sscanf(out.c_str(), "%d %d %d %d %d %7s", &channels, &width, &rate, &frames,
                              &peak, quiet),
                  6)
            << name << ": " << out;
        EXPECT_EQ(channels, 1) << name;
        EXPECT_EQ(width, 2) << name;
        EXPECT_EQ(rate, FeedbackTones::kSampleRate) << name;
        EXPECT_EQ(static_cast<std::size_t>(frames) * 2 + 44, bytes.size()) << name;
        // Short, audible, not clipped, and faded in and out.
        EXPECT_LT(frames, FeedbackTones::kSampleRate / 2) << name;
        EXPECT_GT(peak, 8000) << name;
        EXPECT_LT(peak, 32000) << name;
        EXPECT_STREQ(quiet, "True") << name;
    }
    EXPECT_TRUE(FeedbackTones::WaveFile("nonesuch").empty());
}
