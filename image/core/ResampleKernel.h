#pragma once
// The weighting functions of the kernel interpolation modes (3 to 18): the weight of a pixel
// at signed distance x from the sampled position, along one axis.
class ResampleKernel {
public:
    static constexpr int kFirstMode = 3;
    static constexpr int kLastMode = 18;
    static constexpr int kLanczosMode = 6;

    // 0 for modes outside kFirstMode..kLastMode.
    static float Weight(int mode, float x);
    // How many pixels on each side of the sampled one the mode reaches: the neighbourhood runs
    // from floor(x) - Reach + 1 to floor(x) + Reach.
    static int Reach(int mode) { return mode == kLanczosMode ? 6 : 2; }
};
