#include "image/codecs/CRasterCodec.h"
#include "image/codecs/CRasterFormats.h"
#include "image/core/CRaster.h"
#include "image/core/CRasterFile.h"
#include "image/core/CRasterIOFile.h"
#include "image/core/CRasterMemFile.h"
#include "platform/AtomicFile.h"
#include "platform/SaveRefusal.h"

#include <array>
#include <memory>
#include <new>
#include <string>

// Reading and writing by format type id. A format object of the id's class does the work; a
// decoded picture is moved into the caller's image only on success.

namespace {

constexpr const char* kUnknownEncode = "Encode: Unknown format";
constexpr const char* kUnknownDecode = "Decode: Unknown or wrong format";

// Formats whose decoders report how many frames a file holds even when they fail.
bool KeepsFrameCount(DWORD type) {
    return type == CRaster::kTypeGif || type == CRaster::kTypeIco || type == CRaster::kTypeTif;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool CRaster::CheckEncodeArgs(const CRasterFile* file) {
    if (file == nullptr) {
        SetLastError("null file handler");
        return false;
    }
    if (!IsValid()) {
        SetLastError("null image!!!");
        return false;
    }
    return true;
}

bool CRaster::Encode(CRasterFile* file, DWORD type) {
    std::unique_ptr<CRasterCodec> codec = CRasterFormats::MakeCodec(type);
    if (codec == nullptr) {
        SetLastError(kUnknownEncode);
        return false;
    }
    if (!CheckEncodeArgs(file))
        return false;
    codec->ShareFrom(this);
    const bool ok = codec->Encode(*file);
    if (!ok)
        SetLastError(codec->GetLastError());
    return ok;
}

namespace {

bool DecodeAs(CRaster& image, CRasterFile& file, DWORD type) {
    std::unique_ptr<CRasterCodec> codec = CRasterFormats::MakeCodec(type);
    codec->CopyInfoFrom(image);
    codec->SetType(type);
    codec->SetLastError("");
    // The camera block of an earlier JPEG must not travel into a different picture.
    codec->Info().jpegExif.clear();
    codec->Info().jpegComment.clear();
    bool decoded = false;
    try {
        decoded = codec->Decode(file, image.Info().decode);
    } catch (const std::bad_alloc&) {
        // Whatever the codec built is freed with it; the caller keeps its picture.
        codec->SetLastError(kPictureOutOfMemory);
    }
    if (decoded)
        return image.TakeOver(*codec, true);
    // A codec that stopped without saying why still owes the caller a reason.
    const std::string why = codec->GetLastError();
    const CRasterFormats::Entry* entry = CRasterFormats::Find(type);
    image.SetLastError(!why.empty() ? why.c_str()
                                    : (std::string(entry ? entry->name : "Picture") +
                                       " data is damaged or incomplete")
                                          .c_str());
    if (KeepsFrameCount(type))
        image.Info().numFrames = codec->Info().numFrames;
    return false;
}

// Tries every format but `tried`, which has failed already.
// A failure leaves no frame count of a format that was merely tried.
bool Detect(CRaster& image, CRasterFile& file, DWORD tried = CRaster::kTypeUnknown) {
    const LONG start = file.Tell();
    const LONG frames = image.Info().numFrames;
    for (DWORD type : CRasterFormats::DetectionOrder()) {
        if (type != tried && DecodeAs(image, file, type))
            return true;
        // A stopped load stops; the other formats would only be asked to stop as well.
        if (image.WasCancelled())
            return false;
        file.Seek(start, 0);
    }
    image.Info().numFrames = frames;
    image.SetLastError(kUnknownDecode);
    return false;
}

// A file whose first bytes claim a format is read as that format first; when nothing reads
// it, that reader's reason (damaged data, a picture over the budget) is what the caller hears
// rather than "unknown format".
bool DetectClaimedFirst(CRaster& image, CRasterFile& file) {
    const LONG start = file.Tell();
    std::array<BYTE, CRasterFormats::kClaimBytes> head{};
    const std::size_t got = file.Read(head.data(), 1, head.size());
    file.Seek(start, 0);
    const DWORD claimed = CRasterFormats::Claimed(std::span(head.data(), got));
    if (claimed == CRaster::kTypeUnknown)
        return Detect(image, file);
    if (DecodeAs(image, file, claimed))
        return true;
    const std::string reason = image.GetLastError();
    if (image.WasCancelled())
        return false;
    file.Seek(start, 0);
    if (Detect(image, file, claimed))
        return true;
    if (!image.WasCancelled())
        image.SetLastError(reason.c_str());
    return false;
}

} // namespace

bool CRaster::Decode(CRasterFile* file, DWORD type) {
    if (file == nullptr) {
        SetLastError("null file handler");
        return false;
    }
    if (type == kTypeUnknown)
        return DetectClaimedFirst(*this, *file);
    if (CRasterFormats::Find(type) == nullptr) {
        SetLastError(kUnknownDecode);
        return false;
    }
    return DecodeAs(*this, *file, type);
}

bool CRaster::EncodeToFILE(std::FILE* file, DWORD type) {
    if (file == nullptr)
        return Encode(nullptr, type);
    CRasterIOFile stream(file);
    return Encode(&stream, type);
}

bool CRaster::DecodeFromFILE(std::FILE* file, DWORD type) {
    if (file == nullptr)
        return Decode(nullptr, type);
    CRasterIOFile stream(file);
    return Decode(&stream, type);
}

// The picture is encoded completely before the file is replaced, so a failure leaves any
// earlier file of that name as it was.
bool CRaster::Save(const std::string& name, DWORD type) {
    std::vector<BYTE> bytes;
    if (!EncodeToMemory(bytes, type)) {
        const std::string why = GetLastError();
        SetLastError(SaveRefusal::Text(name, why.empty() ? "the picture could not be encoded" : why)
                         .c_str());
        return false;
    }
    std::string error;
    if (!AtomicFile::Write(name, std::as_bytes(std::span<const BYTE>(bytes)), error)) {
        SetLastError(error.c_str());
        return false;
    }
    return true;
}

// When the type asked for fails, detection tries the others; if they fail too, the error of
// the type asked for is kept. A failed load leaves the picture empty, with no frames.
bool CRaster::Load(const std::string& name, DWORD type) {
    if (LoadFrom(name, type))
        return true;
    const std::string text = GetLastError();
    if (Destroy() && DestroyFrames())
        SetLastError(text.c_str());
    return false;
}

bool CRaster::LoadFrom(const std::string& name, DWORD type) {
    FilePtr f(std::fopen(name.c_str(), "rb"));
    if (!f) {
        SetLastError("can't open the file");
        return false;
    }
    CRasterIOFile stream(f.get());
    if (GetTypeIndex(type) == 0)
        return Decode(&stream, kTypeUnknown);
    if (Decode(&stream, type))
        return true;
    const std::string asked = GetLastError();
    if (WasCancelled() || !stream.Seek(0, SEEK_SET))
        return false;
    if (Detect(*this, stream, type))
        return true;
    SetLastError(asked.c_str());
    return false;
}

bool CRaster::EncodeToMemory(std::vector<BYTE>& out, DWORD type) {
    if (!out.empty()) {
        SetLastError("the buffer must be empty");
        return false;
    }
    CRasterMemFile stream;
    if (!stream.Open() || !Encode(&stream, type))
        return false;
    out = stream.DetachBuffer();
    return true;
}

bool CRaster::DecodeFromMemory(std::span<const BYTE> data, DWORD type) {
    CRasterMemFile stream(data.data(), data.size());
    return Decode(&stream, type);
}

bool CRaster::LoadResource(std::span<const BYTE> resource, DWORD type) {
    if (resource.data() == nullptr) {
        SetLastError("Unable to load resource!");
        return false;
    }
    return DecodeFromMemory(resource, type);
}
