#include "view/MazePrintSettings.h"

#include "platform/CProfile.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kLayerSuffix[5] = {"", "_BG", "_MZ", "_FG", "_TL"};

} // namespace

void MazePrintSettings::Load(const CProfile& profile) {
    printCompatible = profile.GetProfileInt(kSection, "PrintCompatible", 0);
    printMaze = profile.GetProfileInt(kSection, "PrintMaze", 1);
    printSolution = profile.GetProfileInt(kSection, "PrintSolution", 1);
    for (int layer = 1; layer <= 4; ++layer) {
        mazeLayers[layer] =
            profile.GetProfileInt(kSection, std::string("PrintMaze") + kLayerSuffix[layer], 1);
        solutionLayers[layer] =
            profile.GetProfileInt(kSection, std::string("PrintSolution") + kLayerSuffix[layer], 1);
    }
    numberOfMazes = profile.GetProfileInt(kSection, "NumberOfMazes", 1);
    // A damaged count prints one maze rather than a thousand or none.
    if (!CountInRange())
        numberOfMazes = kMinMazes;
}

void MazePrintSettings::Save(CProfile& profile) const {
    CProfile::Batch batch(profile);
    profile.WriteProfileInt(kSection, "PrintCompatible", printCompatible);
    profile.WriteProfileInt(kSection, "PrintMaze", printMaze);
    profile.WriteProfileInt(kSection, "PrintSolution", printSolution);
    for (int layer = 1; layer <= 4; ++layer) {
        profile.WriteProfileInt(kSection, std::string("PrintMaze") + kLayerSuffix[layer],
                                mazeLayers[layer]);
        profile.WriteProfileInt(kSection, std::string("PrintSolution") + kLayerSuffix[layer],
                                solutionLayers[layer]);
    }
    profile.WriteProfileInt(kSection, "NumberOfMazes", numberOfMazes);
}
