#pragma once
#include "dialogs/CDialogFilter.h"
#include "platform/CrtRandom.h"

// The "Circle Transform" page: a jitter of fixed radius. Its edit and list are shown but
// change nothing. The page draws from its own generator, started afresh for every preview, so
// a preview repeats exactly and never moves the maze's random sequence.
class CDFilterCircleTransform : public CDialogFilter {
public:
    static constexpr int kTemplateId = 210;
    static constexpr int kEditId = 1092;
    static constexpr int kListId = 1075;
    static constexpr int kRadius = 2;

    int TemplateId() const override { return kTemplateId; }
    bool Apply(CRaster& destination, const CRaster& source) override;

private:
    CrtRandom random_;
};
