// Hostile placeable WMF and EMF input for the picture decoder.
#include "DecodeFuzz.h"

// Text records reach fontconfig and Pango, whose one-time caches live until exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\n"
           "leak:libharfbuzz.so\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzDecode(data, size, CRaster::kTypeWmf);
}
