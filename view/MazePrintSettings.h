#pragma once

class CProfile;

// The print options the print dialog edits, kept in the profile's "Settings" section.
struct MazePrintSettings {
    static constexpr int kMinMazes = 1;
    static constexpr int kMaxMazes = 999;

    int printMaze = 1;
    int printSolution = 1;
    int printCompatible = 0; // stored only
    // Layers 1..4 (background, maze, foreground, text) of each page kind; index 0 unused.
    int mazeLayers[5] = {0, 1, 1, 1, 1};
    int solutionLayers[5] = {0, 1, 1, 1, 1};
    int numberOfMazes = 1;

    void Load(const CProfile& profile);
    void Save(CProfile& profile) const;
    // The count lies in kMinMazes..kMaxMazes.
    bool CountInRange() const { return numberOfMazes >= kMinMazes && numberOfMazes <= kMaxMazes; }
};
