#pragma once
// A device context that records an enhanced metafile: the metafile writer is a back end of the
// context like any other, and this is where a metafile context is made and its file written.
#include "platform/CDC.h"

#include <string>

class MetafileBackEnd;

class CMetaFileDC : public CDC {
public:
    // Starts recording a file to be written at `path`. `frame` is the picture in hundredths of
    // a millimetre; `reference` (the screen when null) is the device by whose pixels readers
    // size the picture.
    bool CreateEnhMetaFile(const CDC* reference, const std::string& path, const RECT& frame,
                           const std::string& description);
    // Writes the metafile through a temporary file, so that a failure leaves an old file as it
    // was, and ends the context; false with `error` naming the file and the reason.
    bool CloseEnhMetaFile(std::string& error);

private:
    MetafileBackEnd* recorder_ = nullptr; // the context's back end while it records
    std::string path_;
};
