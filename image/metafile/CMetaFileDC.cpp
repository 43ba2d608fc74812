#include "image/metafile/CMetaFileDC.h"

#include "image/metafile/MetafileBackEnd.h"
#include "platform/AtomicFile.h"
#include "platform/SaveRefusal.h"

#include <memory>
#include <span>
#include <vector>

bool CMetaFileDC::CreateEnhMetaFile(const CDC* reference, const std::string& path,
                                    const RECT& frame, const std::string& description) {
    if (path.empty())
        return false;
    MetafileBackEnd::Setup setup;
    setup.frame = frame;
    setup.description = description;
    if (reference) {
        setup.referenceDpiX = reference->GetDeviceCaps(LOGPIXELSX);
        setup.referenceDpiY = reference->GetDeviceCaps(LOGPIXELSY);
    }
    auto recorder = std::make_unique<MetafileBackEnd>(setup);
    recorder_ = recorder.get();
    Attach(std::move(recorder));
    path_ = path;
    return true;
}

bool CMetaFileDC::CloseEnhMetaFile(std::string& error) {
    // Another back end attached since (or none) means the recording has ended.
    if (!recorder_ || BackEnd() != recorder_) {
        recorder_ = nullptr;
        error = "No metafile is being recorded.";
        return false;
    }
    const std::vector<BYTE> bytes = recorder_->Finish();
    recorder_ = nullptr;
    DeleteDC();
    // The header counts the file's bytes in 32 bits.
    if (bytes.size() > 0xFFFFFFFFu) {
        error = SaveRefusal::Text(path_, "the metafile would be larger than 4 GB");
        return false;
    }
    return AtomicFile::Write(
        path_, std::as_bytes(std::span<const BYTE>(bytes.data(), bytes.size())), error);
}
