#include "image/codecs/CRasterGIF.h"
#include "image/core/CRasterMemFile.h"

#include <cstddef>
#include <cstdint>

// Decodes hostile GIF bytes, asking for every frame of an animation once in a while, and
// writes the result back out so the encoder sees whatever the decoder can produce.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The decoder bounds its work by the bytes it is given (the detection target runs without
    // this guard); here large screens are skipped only to keep the runs fast.
    CRasterMemFile head(data, size);
    CRasterGIF probe;
    probe.SetEscape(-1);
    if (probe.Decode(head, probe.Info().decode) &&
        std::uint64_t(probe.GetWidth()) * probe.GetHeight() > (1u << 20))
        return 0;
    CRasterMemFile in(data, size);
    CRasterGIF gif;
    if (size > 0 && (data[size - 1] & 1))
        gif.Info().retrieveAllFrames = 1;
    if (size > 1)
        gif.Info().frame = data[size - 2] & 3;
    if (gif.Decode(in, gif.Info().decode) && gif.GetWidth() * gif.GetHeight() < (1u << 20)) {
        CRasterMemFile out;
        out.Open();
        gif.Encode(out);
    }
    return 0;
}
