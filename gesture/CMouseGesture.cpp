#include "gesture/CMouseGesture.h"

#include "gesture/Activation.h"
#include "gesture/GestureThumbnail.h"
#include "gesture/GestureTrainingSettings.h"
#include "gesture/GestureWeightsFile.h"
#include "platform/CDC.h"
#include "platform/CProfile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

MLNet::Net MakeGestureNet() {
    MLNet::Net net({2 * kGestureSegments, 32, kGestureClassCount});
    net.SetActivation(MLNet::Sigmoid);
    net.SetBias(0.5f).SetTargetRange(0.0f, 1.0f);
    return net;
}

} // namespace

CMouseGesture::CMouseGesture(CrtRandom& random) : net_(MakeGestureNet()), learner_(net_, random) {}

void CMouseGesture::Train(const CProfile& profile) {
    const GestureTrainingSettings s = GestureTrainingSettings::Read(profile);
    learner_.StartTraining(&pad_, s.cycles, s.highRate, s.lowRate, s.momentum, s.errorBound);
}

bool CMouseGesture::SaveWeights(const std::string& path) const {
    return GestureWeightsFile::Save(path, net_.Weights());
}

bool CMouseGesture::LoadWeights(const std::string& path) {
    return GestureWeightsFile::Load(path, net_.Weights());
}

bool CMouseGesture::LoadOrTrain(const std::string& path, const CProfile& profile) {
    if (LoadWeights(path))
        return true;
    Train(profile);
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    (void)SaveWeights(path);
    return false;
}

std::string CMouseGesture::WeightsPath(const CProfile& profile) {
    return (std::filesystem::path(profile.Path()).parent_path() / "mouse.qv1.dat").string();
}

int CMouseGesture::Recognize() {
    if (!pad_.EndStroke() || !Classify())
        return -1;
    const int cls = pad_.GetTopList()[0].cls;
    return cls >= 0 && cls < kGestureClassCount ? cls : -1;
}

bool CMouseGesture::Classify() {
    std::vector<float> input(pad_.Cosines().begin(), pad_.Cosines().end());
    input.insert(input.end(), pad_.Sines().begin(), pad_.Sines().end());
    std::vector<float> output;
    net_.Run(input, output);

    // Weights from a damaged file must not pass as a match.
    const bool finite =
        std::all_of(output.begin(), output.end(), [](float o) { return std::isfinite(o); });
    CGesturePad::TopList top{};
    if (finite) {
        double sum = 0.0;
        for (const float o : output)
            sum += o;
        for (CGesturePad::Match& m : top) {
            const auto best = std::max_element(output.begin(), output.end());
            m.cls = static_cast<int>(best - output.begin());
            m.share = static_cast<float>(*best / sum);
            *best = 0.0f;
        }
    }
    pad_.SetTopList(top);
    const double first = top[0].share, second = top[1].share;
    const bool accepted = finite && std::isfinite(first) && std::isfinite(second) && first > 0.25 &&
                          first - second > 0.25;
    pad_.SetState(accepted ? CGesturePad::StateRecognized : CGesturePad::StateNotRecognized);
    return accepted;
}

void CMouseGesture::DrawStrokePoints(CDC& dc) const {
    GestureThumbnail::DrawStrokePoints(dc, pad_.RawPoints(), pad_.ResampledPoints());
}

bool CMouseGesture::RenderTopList(CRaster& image) const {
    return GestureThumbnail::RenderTopList(pad_.GetTopList(), image);
}

bool CMouseGesture::RenderPrototype(int cls, CRaster& image) const {
    return GestureThumbnail::RenderPrototype(cls, image);
}
