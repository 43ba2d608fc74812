#pragma once
#include "platform/CRect.h"

#include <string>

class IRenderView;

// Writes the page as an enhanced metafile: the whole page at 0.001-inch resolution, with the
// solution as the view shows it and without whitened cells or hidden ends.
class MetafileExport {
public:
    static constexpr const char* kFilter = "Enhanced MetaFile(*.emf)|*.emf||";
    static constexpr const char* kDescription = "Orlimber";

    // The picture's frame in hundredths of a millimetre for a page in thousandths of an inch.
    static CRect Frame(int pageWidth, int pageHeight);
    // Renders the page and writes the file; the error text, empty when it was written.
    static std::string Write(IRenderView& view, const std::string& path);
};
