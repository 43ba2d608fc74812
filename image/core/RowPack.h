#pragma once
#include "platform/WinTypes.h"

class CRaster;

// One storage row of a picture as the samples the JPEG 2000 family writes: grey levels of a
// grey palette picture, or red, green, blue triples of a 24-bit one.
void PackGreyRow(const CRaster& image, DWORD storageRow, BYTE* out);
void PackRgbRow(const CRaster& image, DWORD storageRow, BYTE* out);
