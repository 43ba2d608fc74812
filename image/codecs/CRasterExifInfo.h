#pragma once
#include "platform/WinTypes.h"

#include <string>

// What a camera wrote into a JPEG: the EXIF fields the program reads and the file's comment.
// Texts are bounded as the EXIF fields are (make 31, model 39, date 19, version 4 and
// comment 999 characters).
struct CRasterExifInfo {
    std::string version;
    std::string cameraMake;
    std::string cameraModel;
    std::string dateTime;
    LONG height = 0;
    LONG width = 0;
    LONG orientation = 0; // 1..8, 0 when unknown
    LONG isColor = 0;
    LONG process = 0; // the start-of-frame marker
    LONG flashUsed = 0;
    float focalLength = 0;
    float exposureTime = 0;
    float apertureFNumber = 0;
    float distance = 0;
    float ccdWidth = 0;
    float exposureBias = 0;
    LONG whiteBalance = 0;
    LONG meteringMode = 0;
    LONG exposureProgram = 0;
    LONG isoEquivalent = 0;
    LONG compressionLevel = 0;
    float focalPlaneXRes = 0;
    float focalPlaneYRes = 0;
    float focalPlaneUnits = 0;
    float xResolution = 0;
    float yResolution = 0;
    float resolutionUnit = 0; // inches per unit: 1 inch, 0.3937 centimetre, ...
    float brightness = 0;
    std::string comment;
    // The embedded thumbnail, as an offset into the EXIF data after its "Exif\0\0" header;
    // size 0 when there is none (or it did not lie inside the data).
    DWORD thumbnailOffset = 0;
    DWORD thumbnailSize = 0;
    bool isExif = false;
};
