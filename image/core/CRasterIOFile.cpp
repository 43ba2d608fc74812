#include "image/core/CRasterIOFile.h"

#include <climits>

namespace {

LONG ClampToLong(long v) {
    return v > LONG_MAX ? -1 : static_cast<LONG>(v);
}

} // namespace

CRasterIOFile::CRasterIOFile(std::FILE* file) : file_(file), owned_(file == nullptr) {}

CRasterIOFile::~CRasterIOFile() {
    if (owned_ && file_)
        std::fclose(file_);
}

bool CRasterIOFile::Open(const char* name, const char* mode) {
    if (file_ || !name || !mode)
        return false;
    file_ = std::fopen(name, mode);
    owned_ = true;
    written_ = false;
    return file_ != nullptr;
}

bool CRasterIOFile::Close() {
    if (!file_)
        return true;
    const bool flushed = !written_ || (std::fflush(file_) == 0 && std::ferror(file_) == 0);
    if (!owned_)
        return flushed;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}

std::size_t CRasterIOFile::Read(void* buffer, std::size_t size, std::size_t count) {
    if (!file_ || !buffer)
        return 0;
    return std::fread(buffer, size, count, file_);
}

std::size_t CRasterIOFile::Write(const void* buffer, std::size_t size, std::size_t count) {
    if (!file_ || !buffer)
        return 0;
    written_ = true;
    return std::fwrite(buffer, size, count, file_);
}

bool CRasterIOFile::Seek(LONG offset, int origin) {
    return file_ && std::fseek(file_, offset, origin) == 0;
}

LONG CRasterIOFile::Tell() {
    return file_ ? ClampToLong(std::ftell(file_)) : 0;
}

LONG CRasterIOFile::Size() {
    if (!file_)
        return -1;
    const long here = std::ftell(file_);
    std::fseek(file_, 0, SEEK_END);
    const long size = std::ftell(file_);
    std::fseek(file_, here, SEEK_SET);
    return ClampToLong(size);
}

bool CRasterIOFile::Flush() {
    return file_ && std::fflush(file_) == 0;
}

bool CRasterIOFile::Eof() {
    return !file_ || std::feof(file_) != 0;
}

LONG CRasterIOFile::Error() {
    return file_ ? std::ferror(file_) : -1;
}

bool CRasterIOFile::PutC(BYTE c) {
    if (!file_)
        return false;
    written_ = true;
    return std::fputc(c, file_) == c;
}

LONG CRasterIOFile::GetC() {
    return file_ ? std::fgetc(file_) : -1;
}

char* CRasterIOFile::GetS(char* buffer, int capacity) {
    if (!file_ || !buffer || capacity <= 0)
        return nullptr;
    return std::fgets(buffer, capacity, file_);
}

LONG CRasterIOFile::Scanf(const char* format, void* output) {
    if (!file_ || !format)
        return -1;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return std::fscanf(file_, format, output);
#pragma GCC diagnostic pop
}
