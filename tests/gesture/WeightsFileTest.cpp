#include "GestureTestSupport.h"
#include "gesture/CMouseGesture.h"
#include "gesture/GestureWeightsFile.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

namespace {

constexpr std::size_t kWeights = 2310;
constexpr std::size_t kBytes = 4 * kWeights;

class WeightsFile : public ::testing::Test {
protected:
    WeightsFile() : gesture_(random_), profile_(folder_.File("OrlimberSTD.ini")) {
        random_.srand(1);
        // Short trainings keep the start-up cases quick.
        profile_.WriteProfileInt("MouseGestures", "m_cycles", 300);
        path_ = folder_.File("mouse.qv1.dat");
    }

    // Weights that are easy to recognise: i / 8 - 100, exact in a float.
    void HandSetWeights() {
        std::vector<float>& w = gesture_.GetNet().Weights();
        for (std::size_t i = 0; i < w.size(); ++i)
            w[i] = static_cast<float>(i) / 8.0f - 100.0f;
    }

    void WriteBytes(const std::string& bytes) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string ReadBytes() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    ScratchFolder folder_;
    CrtRandom random_;
    CMouseGesture gesture_;
    CProfile profile_;
    std::string path_;
};

std::string RunCommand(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

} // namespace

TEST_F(WeightsFile, EachWeightLandsAtFourTimesItsIndexAsALittleEndianFloat) {
    HandSetWeights();
    ASSERT_TRUE(gesture_.SaveWeights(path_));
    ASSERT_EQ(std::filesystem::file_size(path_), kBytes);

    // coreutils' od reads the file independently: offset, then one float per line.
    std::istringstream od(RunCommand("od -A d -v -w4 -t f4 --endian=little '" + path_ + "'"));
    std::size_t offset = 0, count = 0;
    double value = 0.0;
    while (od >> offset >> value) {
        ASSERT_EQ(offset, 4 * count);
        ASSERT_EQ(value, static_cast<double>(count) / 8.0 - 100.0) << "weight " << count;
        ++count;
    }
    EXPECT_EQ(count, kWeights);
}

TEST_F(WeightsFile, SavedWeightsLoadBitForBit) {
    // Values that a text round trip would change.
    std::vector<float>& w = gesture_.GetNet().Weights();
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = std::nextafter(static_cast<float>(std::sin(i * 0.7)), 2.0f);
    w[0] = -0.0f;
    w[1] = std::numeric_limits<float>::denorm_min();
    const std::vector<float> saved = w;
    ASSERT_TRUE(gesture_.SaveWeights(path_));

    std::fill(w.begin(), w.end(), 0.0f);
    ASSERT_TRUE(gesture_.LoadWeights(path_));
    EXPECT_EQ(std::memcmp(w.data(), saved.data(), kBytes), 0);
}

TEST_F(WeightsFile, BadFilesAreRefusedAndLeaveTheWeightsAlone) {
    HandSetWeights();
    const std::vector<float> before = gesture_.GetNet().Weights();
    ASSERT_TRUE(gesture_.SaveWeights(path_));
    const std::string good = ReadBytes();

    std::string nan = good, inf = good;
    const unsigned char nanBits[4] = {0x00, 0x00, 0xC0, 0x7F}, infBits[4] = {0, 0, 0x80, 0xFF};
    std::memcpy(nan.data() + 4 * 1000, nanBits, 4);
    std::memcpy(inf.data() + kBytes - 4, infBits, 4);
    // Every candidate differs from the good weights in its first value.
    std::string shifted = good;
    shifted[0] = 0;
    shifted[3] = 0x40;
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"one byte short", shifted.substr(0, kBytes - 1)},
        {"one byte long", shifted + '\0'},
        {"NaN", nan},
        {"infinity", inf},
    };
    for (const auto& [what, bytes] : cases) {
        WriteBytes(bytes);
        EXPECT_FALSE(gesture_.LoadWeights(path_)) << what;
        EXPECT_EQ(gesture_.GetNet().Weights(), before) << what;
    }
    EXPECT_FALSE(gesture_.LoadWeights(folder_.File("missing.dat")));
    EXPECT_FALSE(gesture_.LoadWeights(folder_.Path().string()));
    EXPECT_EQ(gesture_.GetNet().Weights(), before);
}

TEST_F(WeightsFile, NonFiniteWeightsAreNeverSaved) {
    HandSetWeights();
    ASSERT_TRUE(gesture_.SaveWeights(path_));
    const std::string good = ReadBytes();
    gesture_.GetNet().Weights()[7] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(gesture_.SaveWeights(path_));
    EXPECT_EQ(ReadBytes(), good);
    EXPECT_FALSE(gesture_.SaveWeights(folder_.File("no/such/folder/mouse.qv1.dat")));
}

TEST_F(WeightsFile, StartUpReplacesABadFileWithATrainedOne) {
    for (const std::size_t size : {std::size_t{0}, kBytes - 1, kBytes + 1}) {
        WriteBytes(std::string(size, '\0'));
        EXPECT_FALSE(gesture_.LoadOrTrain(path_, profile_)) << size;
        ASSERT_EQ(std::filesystem::file_size(path_), kBytes) << size;
        const std::vector<float> trained = gesture_.GetNet().Weights();

        // The next start finds the file good and takes it as it is.
        CrtRandom other;
        CMouseGesture next(other);
        EXPECT_TRUE(next.LoadOrTrain(path_, profile_)) << size;
        EXPECT_EQ(next.GetNet().Weights(), trained) << size;
        EXPECT_EQ(other.State(), 1u) << "no training, no random numbers";
    }
}

TEST_F(WeightsFile, StartUpMakesTheFolderBesideTheProfile) {
    const std::string iniPath = folder_.File("config/Orlimber/OrlimberSTD.ini");
    CProfile profile(iniPath);
    const std::string weights = CMouseGesture::WeightsPath(profile);
    EXPECT_EQ(weights, folder_.File("config/Orlimber/mouse.qv1.dat"));
    profile_.WriteProfileInt("MouseGestures", "m_cycles", 100);
    EXPECT_FALSE(gesture_.LoadOrTrain(weights, profile_));
    EXPECT_EQ(std::filesystem::file_size(weights), kBytes);
}

TEST_F(WeightsFile, AFileThatCannotBeWrittenOnlyMeansTrainingAgain) {
    // A plain file where the folder should be: nothing can be created below it.
    WriteBytes("not a folder");
    const std::string path = path_ + "/mouse.qv1.dat";
    EXPECT_FALSE(gesture_.LoadOrTrain(path, profile_));
    EXPECT_EQ(ReadBytes(), "not a folder");
    const std::uint32_t afterFirst = random_.State();
    EXPECT_FALSE(gesture_.LoadOrTrain(path, profile_));
    EXPECT_NE(random_.State(), afterFirst) << "trained again";
}

TEST_F(WeightsFile, ATrainingThatDivergesIsNotSavedSoTheNextStartTrainsAgain) {
    WriteBytes(std::string(kBytes - 1, 'x'));
    profile_.WriteProfileString("MouseGestures", "m_hi_rate", "1e38");
    profile_.WriteProfileString("MouseGestures", "m_lo_rate", "1e38");
    EXPECT_FALSE(gesture_.LoadOrTrain(path_, profile_));
    const std::vector<float>& w = gesture_.GetNet().Weights();
    ASSERT_FALSE(std::all_of(w.begin(), w.end(), [](float v) { return std::isfinite(v); }));
    EXPECT_EQ(ReadBytes(), std::string(kBytes - 1, 'x'));
}
