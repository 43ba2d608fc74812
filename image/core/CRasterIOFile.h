#pragma once
// A stream over a C stdio file. Around a caller's open file it never closes that file; a file
// opened by Open is owned and closed by Close or the destructor. Close reports a failed flush
// of written data (a full disk) as failure.
#include "image/core/CRasterFile.h"

#include <cstdio>

class CRasterIOFile : public CRasterFile {
public:
    explicit CRasterIOFile(std::FILE* file = nullptr);
    ~CRasterIOFile() override;

    // Opens `name` with the stdio `mode` when no file is held yet.
    bool Open(const char* name, const char* mode);
    std::FILE* GetFile() const { return file_; }

    bool Close() override;
    std::size_t Read(void* buffer, std::size_t size, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count) override;
    bool Seek(LONG offset, int origin) override;
    LONG Tell() override;
    LONG Size() override;
    bool Flush() override;
    bool Eof() override;
    LONG Error() override;
    bool PutC(BYTE c) override;
    LONG GetC() override;
    char* GetS(char* buffer, int capacity) override;
    LONG Scanf(const char* format, void* output) override;

private:
    std::FILE* file_ = nullptr;
    bool owned_ = false;
    bool written_ = false;
};
