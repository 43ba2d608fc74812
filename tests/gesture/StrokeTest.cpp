#include "gesture/CGesturePad.h"
#include "gesture/CMouseGesture.h"
#include "gesture/GestureNames.h"
#include "gesture/GesturePrototypes.h"
#include "gesture/StrokeResampler.h"
#include "platform/CrtRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

// The merge rule written the plain, quadratic way.
std::vector<CPoint> ReferenceReduce(std::vector<CPoint> p, std::size_t count) {
    while (p.size() > count) {
        double best = std::numeric_limits<double>::max();
        std::size_t at = 0;
        for (std::size_t k = 0; k + 2 < p.size(); ++k) {
            const double d = std::sqrt(std::pow(double(p[k + 1].x) - p[k].x, 2) +
                                       std::pow(double(p[k + 1].y) - p[k].y, 2));
            if (d < best) {
                best = d;
                at = k;
            }
        }
        p[at + 1] = CPoint((p[at].x + p[at + 1].x) / 2, (p[at].y + p[at + 1].y) / 2);
        p.erase(p.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return p;
}

CGesturePad PadWith(const std::vector<CPoint>& points) {
    CGesturePad pad;
    pad.StartStroke(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        pad.AddPoint(points[i].x, points[i].y);
    return pad;
}

std::vector<CPoint> Line(std::size_t n, LONG dx, LONG dy) {
    std::vector<CPoint> p;
    for (std::size_t i = 0; i < n; ++i)
        p.emplace_back(100 + dx * LONG(i), 100 + dy * LONG(i));
    return p;
}

} // namespace

TEST(GestureStroke, SeventeenPointsAreTakenAsTheyAreAndSixteenAreNoGesture) {
    std::vector<CPoint> zigzag;
    for (LONG i = 0; i < 17; ++i)
        zigzag.emplace_back(i * 3, (i % 2) * 5 - i);
    CGesturePad pad = PadWith(zigzag);
    ASSERT_TRUE(pad.EndStroke());
    EXPECT_EQ(pad.ResampledPoints(), zigzag);

    CGesturePad shorter = PadWith(std::vector<CPoint>(zigzag.begin(), zigzag.end() - 1));
    EXPECT_FALSE(shorter.EndStroke());
    EXPECT_TRUE(shorter.ResampledPoints().empty());
    EXPECT_EQ(shorter.GetState(), CGesturePad::StateCleared);
}

TEST(GestureStroke, MergesTheClosestPairButNeverTheLastAndTheEarlierOfEquals) {
    // 18 points 10 apart, except the last pair (1 apart), and two pairs 4 apart.
    std::vector<CPoint> p = Line(17, 10, 0);
    p.emplace_back(p.back().x + 1, 100);
    p[6].x = p[5].x + 4;   // pair 5-6
    p[12].x = p[11].x + 4; // pair 11-12, equally close, later
    std::vector<CPoint> expected = p;
    expected[6] = StrokeResampler::Midpoint(p[5], p[6]);
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(StrokeResampler::Reduce(p, 17), expected);
    EXPECT_EQ(ReferenceReduce(p, 17), expected);
}

TEST(GestureStroke, FastMergeAgreesWithThePlainRule) {
    std::mt19937 gen(7);
    for (int stroke = 0; stroke < 1000; ++stroke) {
        const std::size_t n = 17 + gen() % 200;
        // Small ranges make many equal distances and repeated points; a few strokes use
        // coordinates far out, negative ones included.
        const int range = stroke % 3 == 0 ? 4 : stroke % 3 == 1 ? 40 : 60000;
        std::vector<CPoint> p;
        for (std::size_t i = 0; i < n; ++i)
            p.emplace_back(LONG(gen() % range) - range / 2, LONG(gen() % range) - range / 2);
        ASSERT_EQ(StrokeResampler::Reduce(p, 17), ReferenceReduce(p, 17)) << "stroke " << stroke;
    }
}

TEST(GestureStroke, SegmentDirectionsFollowTheScreen) {
    struct Case {
        LONG dx, dy;
        float cosine, sine, angle;
    } cases[] = {
        {0, 0, 1, 0, 0}, {5, 0, 0, 1, 90},    {-5, 0, 0, -1, 270},
        {0, 5, 1, 0, 0}, {0, -5, -1, 0, 180}, {3, 3, 0.70710677f, 0.70710677f, 45},
    };
    for (const Case& c : cases) {
        CGesturePad pad = PadWith(Line(17, c.dx, c.dy));
        ASSERT_TRUE(pad.EndStroke());
        for (std::size_t k = 0; k < CGesturePad::kSegments; ++k) {
            EXPECT_NEAR(pad.Cosines()[k], c.cosine, 1e-6) << c.dx << "," << c.dy;
            EXPECT_NEAR(pad.Sines()[k], c.sine, 1e-6) << c.dx << "," << c.dy;
            EXPECT_NEAR(pad.Angles()[k], c.angle, 1e-4) << c.dx << "," << c.dy;
        }
    }
}

TEST(GestureStroke, HugeCoordinatesStayFinite) {
    std::vector<CPoint> p;
    for (int i = 0; i < 40; ++i)
        p.emplace_back(i % 2 ? INT32_MAX : INT32_MIN, i % 3 ? INT32_MIN : INT32_MAX);
    CGesturePad pad = PadWith(p);
    ASSERT_TRUE(pad.EndStroke());
    for (std::size_t k = 0; k < CGesturePad::kSegments; ++k) {
        EXPECT_TRUE(std::isfinite(pad.Angles()[k]));
        EXPECT_LE(std::fabs(pad.Cosines()[k]), 1.0f);
    }
}

namespace {

// A recogniser whose last layer ignores the hidden layer: output k is Sigmoid(0.5 * bias k),
// so the test chooses every output.
void SetOutputs(CMouseGesture& g, const std::vector<double>& outputs) {
    std::vector<float>& w = g.GetNet().Weights();
    std::fill(w.begin(), w.end(), 0.0f);
    const std::size_t firstOutput = 32 * 33;
    for (std::size_t k = 0; k < outputs.size(); ++k)
        w[firstOutput + k * 33] = static_cast<float>(2.0 * std::log(outputs[k] / (1 - outputs[k])));
}

std::vector<double> Outputs(int first, double a, int second, double b) {
    std::vector<double> o(38, (1.0 - a - b) / 36);
    o[static_cast<std::size_t>(first)] = a;
    o[static_cast<std::size_t>(second)] = b;
    return o;
}

int Stroke(CMouseGesture& g, const std::vector<CPoint>& points) {
    g.StartStroke(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        g.AddPoint(points[i].x, points[i].y);
    return g.Recognize();
}

} // namespace

TEST(GestureClassify, TheBestClassMustTakeAQuarterAndLeadByAQuarter) {
    CrtRandom random;
    CMouseGesture g(random);
    const std::vector<CPoint> stroke = Line(20, 4, 0);

    SetOutputs(g, Outputs(7, 0.5, 3, 0.3));
    EXPECT_EQ(Stroke(g, stroke), -1);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateNotRecognized);
    const CGesturePad::TopList& top = g.GetPad().GetTopList();
    EXPECT_EQ(top[0].cls, 7);
    EXPECT_NEAR(top[0].share, 0.5, 1e-5);
    EXPECT_EQ(top[1].cls, 3);
    EXPECT_NEAR(top[1].share, 0.3, 1e-5);
    // The rest are equal: the lowest index comes first.
    EXPECT_EQ(top[2].cls, 0);

    SetOutputs(g, Outputs(30, 0.6, 2, 0.3));
    EXPECT_EQ(Stroke(g, stroke), 30);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateRecognized);

    SetOutputs(g, Outputs(30, 0.24, 2, 0.0001));
    EXPECT_EQ(Stroke(g, stroke), -1);

    // Garbage weights are no match, whatever the arithmetic makes of them.
    g.GetNet().Weights()[40] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Stroke(g, stroke), -1);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateNotRecognized);
}

TEST(GestureClassify, AStrokeStartingAfterRecognitionClearsTheState) {
    CrtRandom random;
    CMouseGesture g(random);
    g.StartStroke(0, 0);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateNone);
    EXPECT_EQ(g.Recognize(), -1);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateCleared);
    SetOutputs(g, Outputs(1, 0.9, 2, 0.01));
    EXPECT_EQ(Stroke(g, Line(17, 0, 3)), 1);
    g.StartStroke(5, 5);
    EXPECT_EQ(g.GetPad().GetState(), CGesturePad::StateCleared);
    EXPECT_EQ(g.GetPad().RawPoints(), (std::vector<CPoint>{{5, 5}}));
}

TEST(GestureClassify, ATrainedNetworkNamesEveryPrototypeStroke) {
    CrtRandom random;
    random.srand(1);
    CMouseGesture g(random);
    g.GetLearner().StartTraining(&g.GetPad(), 19000, 0.9, 0.1, 0.5, 0.025);
    int right = 0;
    for (int cls = 0; cls < kGestureClassCount; ++cls) {
        // 17 points 20 pixels apart along the prototype's directions.
        std::vector<CPoint> p{{500, 500}};
        for (const float a : GesturePrototypes[static_cast<std::size_t>(cls)]) {
            const double r = a * 3.1415926535 / 180;
            p.push_back(p.back() + CPoint(LONG(std::lround(20 * std::sin(r))),
                                          LONG(std::lround(20 * std::cos(r)))));
        }
        const int got = Stroke(g, p);
        EXPECT_EQ(got, cls) << GestureNames[static_cast<std::size_t>(cls)];
        right += got == cls;
    }
    EXPECT_EQ(right, kGestureClassCount);
}
