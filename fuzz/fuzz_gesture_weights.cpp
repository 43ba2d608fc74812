// Loads arbitrary bytes as the gesture weights file. A load that succeeds must have taken a
// whole file of finite values, and saving them again must give back the same bytes; a load
// that fails must leave the weights as they were.
#include "ScratchProfile.h"
#include "gesture/CMouseGesture.h"
#include "gesture/GestureWeightsFile.h"
#include "platform/CrtRandom.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchProfile scratch("gesture-weights");
    static CrtRandom random;
    static CMouseGesture gesture(random);
    std::vector<float>& weights = gesture.GetNet().Weights();
    std::fill(weights.begin(), weights.end(), 0.5f);

    if (std::FILE* f = std::fopen(scratch.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    const bool loaded = gesture.LoadWeights(scratch.path);
    if (!loaded) {
        for (const float w : weights)
            if (w != 0.5f)
                __builtin_trap();
        return 0;
    }
    if (size != 4 * weights.size())
        __builtin_trap();
    for (const float w : weights)
        if (!std::isfinite(w))
            __builtin_trap();
    const std::vector<std::byte> again = GestureWeightsFile::Encode(weights);
    if (std::memcmp(again.data(), data, size) != 0)
        __builtin_trap();
    return 0;
}
