#include "gesture/CMouseGesture.h"

#include "gesture/Activation.h"
#include "gesture/GestureTrainingSettings.h"
#include "gesture/GestureWeightsFile.h"
#include "platform/CProfile.h"

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
