#pragma once
#include "gesture/CGesturePad.h"
#include "gesture/CMouseGestureLearn.h"
#include "gesture/Net.h"

#include <string>

class CDC;
class CProfile;
class CRaster;
class CrtRandom;

// The mouse-gesture recogniser: a 32-32-38 network over the directions of a stroke's 16
// segments, its trainer and its weights file. The application owns one for the whole run.
class CMouseGesture {
public:
    // Training draws its random numbers from `random`.
    explicit CMouseGesture(CrtRandom& random);
    CMouseGesture(const CMouseGesture&) = delete;
    CMouseGesture& operator=(const CMouseGesture&) = delete;

    // A stroke in client coordinates, y down.
    void StartStroke(LONG x, LONG y) { pad_.StartStroke(x, y); }
    void AddPoint(LONG x, LONG y) { pad_.AddPoint(x, y); }
    // The class of the stroke, or -1 when it is too short or no class clearly dominates.
    int Recognize();
    // Runs the network on the stroke's segment directions and fills the top list. True when
    // the best class takes more than a quarter of the outputs' sum and leads the second by
    // more than a quarter.
    bool Classify();

    // The last stroke's recorded points in red, its reduced points as blue crosses.
    void DrawStrokePoints(CDC& dc) const;
    // 50 x 50 pictures: the three best classes as text; the ideal shape of a class.
    bool RenderTopList(CRaster& image) const;
    bool RenderPrototype(int cls, CRaster& image) const;
    int ThumbnailWidth() const { return thumbnailWidth_; }
    int ThumbnailHeight() const { return thumbnailHeight_; }

    // Trains a fresh network with the settings of the profile's "MouseGestures" section.
    void Train(const CProfile& profile);

    // False unless every weight is finite and the whole file was written.
    bool SaveWeights(const std::string& path) const;
    // False for a missing file, one of another size, a short read or a value that is not a
    // finite number; the weights then stay as they were.
    bool LoadWeights(const std::string& path);

    // Start-up: loads the weights, or trains and writes them when the file is missing or bad.
    // Nothing is reported; a file that cannot be written means the next start trains again.
    // True when the weights came from the file.
    bool LoadOrTrain(const std::string& path, const CProfile& profile);
    // The weights file beside the profile's file, so it does not depend on the folder the
    // program was started from.
    static std::string WeightsPath(const CProfile& profile);

    MLNet::Net& GetNet() { return net_; }
    const MLNet::Net& GetNet() const { return net_; }
    CGesturePad& GetPad() { return pad_; }
    const CGesturePad& GetPad() const { return pad_; }
    CMouseGestureLearn& GetLearner() { return learner_; }

private:
    MLNet::Net net_;
    CGesturePad pad_;
    CMouseGestureLearn learner_;
    int thumbnailWidth_ = 50;
    int thumbnailHeight_ = 50;
};
