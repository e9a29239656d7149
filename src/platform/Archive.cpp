#include "platform/Archive.h"

#include <cstring>

namespace platform {

namespace {

constexpr uint8_t kShortLengthLimit = 0xFF;
constexpr uint16_t kUnicodeMarker = 0xFFFE;
constexpr uint16_t kLongLengthMarker = 0xFFFF;

}  // namespace

CArchive::CArchive(bool storing, HANDLE file, std::string* memoryOut, std::string_view memoryIn)
    : storing_(storing), file_(file), memoryOut_(memoryOut), memoryIn_(memoryIn) {}

CArchive CArchive::ForStoringToFile(HANDLE file) {
  CArchive archive(true, file, nullptr, {});
  archive.buffer_.reserve(kBufferSize);
  if (file == nullptr || file == INVALID_HANDLE_VALUE) archive.failed_ = true;
  return archive;
}

CArchive CArchive::ForLoadingFromFile(HANDLE file) {
  CArchive archive(false, file, nullptr, {});
  LARGE_INTEGER size = {};
  LARGE_INTEGER position = {};
  LARGE_INTEGER zero = {};
  if (file == nullptr || file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(file, &size) ||
      !::SetFilePointerEx(file, zero, &position, FILE_CURRENT) || position.QuadPart > size.QuadPart) {
    archive.failed_ = true;
    return archive;
  }
  archive.fileRemaining_ = static_cast<uint64_t>(size.QuadPart - position.QuadPart);
  return archive;
}

CArchive CArchive::ForStoringToMemory(std::string& memory) { return CArchive(true, nullptr, &memory, {}); }

CArchive CArchive::ForLoadingFromMemory(std::string_view memory) { return CArchive(false, nullptr, nullptr, memory); }

void CArchive::WriteBytes(const void* data, size_t count) {
  if (failed_ || !storing_) {
    failed_ = true;
    return;
  }
  if (memoryOut_ != nullptr) {
    memoryOut_->append(static_cast<const char*>(data), count);
    return;
  }
  const char* bytes = static_cast<const char*>(data);
  while (count > 0) {
    size_t room = kBufferSize - buffer_.size();
    size_t part = count < room ? count : room;
    buffer_.append(bytes, part);
    bytes += part;
    count -= part;
    if (buffer_.size() == kBufferSize && !Flush()) return;
  }
}

bool CArchive::Flush() {
  if (failed_ || !storing_) return false;
  if (memoryOut_ != nullptr || buffer_.empty()) return true;
  DWORD written = 0;
  if (!::WriteFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) ||
      written != buffer_.size()) {
    failed_ = true;
    return false;
  }
  buffer_.clear();
  return true;
}

void CArchive::WriteUInt8(uint8_t value) { WriteBytes(&value, 1); }

void CArchive::WriteUInt16(uint16_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  WriteBytes(bytes, 2);
}

void CArchive::WriteUInt32(uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  WriteBytes(bytes, 4);
}

void CArchive::WriteString(std::wstring_view text) {
  WriteUInt8(0xFF);
  WriteUInt16(kUnicodeMarker);
  const size_t length = text.size();
  if (length < kShortLengthLimit) {
    WriteUInt8(static_cast<uint8_t>(length));
  } else if (length < kUnicodeMarker) {
    WriteUInt8(0xFF);
    WriteUInt16(static_cast<uint16_t>(length));
  } else {
    WriteUInt8(0xFF);
    WriteUInt16(kLongLengthMarker);
    WriteUInt32(static_cast<uint32_t>(length));
  }
  for (wchar_t c : text) WriteUInt16(static_cast<uint16_t>(c));
}

uint64_t CArchive::RemainingBytes() const {
  if (file_ == nullptr) return memoryIn_.size() - bufferPos_;
  return fileRemaining_ + (buffer_.size() - bufferPos_);
}

bool CArchive::IsAtEnd() const { return !storing_ && !failed_ && RemainingBytes() == 0; }

bool CArchive::FillBuffer() {
  buffer_.erase(0, bufferPos_);
  bufferPos_ = 0;
  size_t want = kBufferSize;
  if (want > fileRemaining_) want = static_cast<size_t>(fileRemaining_);
  if (want == 0) return false;
  size_t old = buffer_.size();
  buffer_.resize(old + want);
  DWORD read = 0;
  if (!::ReadFile(file_, &buffer_[old], static_cast<DWORD>(want), &read, nullptr) || read == 0) {
    buffer_.resize(old);
    return false;
  }
  buffer_.resize(old + read);
  fileRemaining_ -= read;
  return true;
}

bool CArchive::ReadBytes(void* data, size_t count) {
  if (failed_ || storing_ || RemainingBytes() < count) {
    failed_ = true;
    return false;
  }
  if (file_ == nullptr) {
    std::memcpy(data, memoryIn_.data() + bufferPos_, count);
    bufferPos_ += count;
    return true;
  }
  char* out = static_cast<char*>(data);
  while (count > 0) {
    if (bufferPos_ == buffer_.size() && !FillBuffer()) {
      failed_ = true;
      return false;
    }
    size_t available = buffer_.size() - bufferPos_;
    size_t part = count < available ? count : available;
    std::memcpy(out, buffer_.data() + bufferPos_, part);
    bufferPos_ += part;
    out += part;
    count -= part;
  }
  return true;
}

bool CArchive::ReadUInt8(uint8_t& value) { return ReadBytes(&value, 1); }

bool CArchive::ReadUInt16(uint16_t& value) {
  uint8_t bytes[2];
  if (!ReadBytes(bytes, 2)) return false;
  value = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
  return true;
}

bool CArchive::ReadUInt32(uint32_t& value) {
  uint8_t bytes[4];
  if (!ReadBytes(bytes, 4)) return false;
  value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
          (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
  return true;
}

bool CArchive::ReadString(std::wstring& text) {
  uint8_t lead = 0;
  uint16_t marker = 0;
  uint8_t shortLength = 0;
  if (!ReadUInt8(lead) || !ReadUInt16(marker) || !ReadUInt8(shortLength)) return false;
  if (lead != 0xFF || marker != kUnicodeMarker) {
    failed_ = true;
    return false;
  }
  uint32_t length = shortLength;
  if (shortLength == kShortLengthLimit) {
    uint16_t middle = 0;
    if (!ReadUInt16(middle)) return false;
    if (middle == kLongLengthMarker) {
      if (!ReadUInt32(length)) return false;
    } else if (middle == kUnicodeMarker) {
      failed_ = true;  // not a length any writer produces
      return false;
    } else {
      length = middle;
    }
  }
  if (RemainingBytes() < static_cast<uint64_t>(length) * 2) {
    failed_ = true;
    return false;
  }
  std::wstring value(length, L'\0');
  for (uint32_t i = 0; i < length; ++i) {
    uint16_t c = 0;
    if (!ReadUInt16(c)) return false;
    value[i] = static_cast<wchar_t>(c);
  }
  text = std::move(value);
  return true;
}

}  // namespace platform
