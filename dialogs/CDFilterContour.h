#pragma once
#include "dialogs/CDialogFilter.h"

// The "Contour" page: the contour filter, which takes no values.
class CDFilterContour : public CDialogFilter {
public:
    static constexpr int kTemplateId = 211;

    int TemplateId() const override { return kTemplateId; }
    bool Apply(CRaster& destination, const CRaster& source) override;
};
