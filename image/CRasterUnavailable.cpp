#include "image/CRasterUnavailable.h"

#include "platform/TextFormat.h"

CRasterUnavailable::CRasterUnavailable(DWORD type, const char* name, bool writable)
    : CRasterCodec(type), name_(name), writable_(writable) {}

bool CRasterUnavailable::Decode(CRasterFile&) {
    return Fail(Format("%s pictures cannot be read by this build", name_));
}

bool CRasterUnavailable::Encode(CRasterFile&) {
    if (!writable_)
        return Fail(Format("Save %s not supported", name_));
    return Fail(Format("%s pictures cannot be written by this build", name_));
}
