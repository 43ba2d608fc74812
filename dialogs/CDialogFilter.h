#pragma once
#include <string>

class CRaster;

// One page of the filter preview: a filter with the values its controls hold.
class CDialogFilter {
public:
    virtual ~CDialogFilter() = default;

    virtual int TemplateId() const = 0;
    // `destination` becomes a copy of `source` with the page's filter applied; false, with
    // `destination` untouched, when the filter cannot run.
    virtual bool Apply(CRaster& destination, const CRaster& source) = 0;
    virtual std::string GetParameters() const { return {}; }
    virtual bool SetParameters(const std::string&) { return true; }
};
