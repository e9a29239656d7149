#pragma once
// A little-endian binary archive: data written through a 4096-byte buffer to
// an open file, or kept in memory, and read back from either. Strings use the
// archive string form: the byte 0xFF and the 16-bit value 0xFFFE (UTF-16
// text), a length of one, three or seven bytes, then the UTF-16LE characters.
// Reads never trust a length beyond the bytes that remain, so a damaged file
// cannot make the reader allocate or run past its end; the first failed read
// or write marks the archive failed and every later operation fails too.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class CArchive {
 public:
  static constexpr size_t kBufferSize = 4096;

  // Stores into `file` (left open; the caller owns it). Call Flush at the end.
  static CArchive ForStoringToFile(HANDLE file);
  // Loads from `file` from its current position to its end.
  static CArchive ForLoadingFromFile(HANDLE file);
  // Stores into `memory`, appending.
  static CArchive ForStoringToMemory(std::string& memory);
  // Loads from `memory`, which must outlive the archive.
  static CArchive ForLoadingFromMemory(std::string_view memory);

  CArchive(CArchive&&) noexcept = default;
  CArchive& operator=(CArchive&&) = delete;
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  [[nodiscard]] bool IsStoring() const { return storing_; }
  [[nodiscard]] bool IsFailed() const { return failed_; }

  void WriteUInt8(uint8_t value);
  void WriteUInt16(uint16_t value);
  void WriteUInt32(uint32_t value);
  void WriteString(std::wstring_view text);
  // Writes what the buffer holds; false when any write failed.
  [[nodiscard]] bool Flush();

  [[nodiscard]] bool ReadUInt8(uint8_t& value);
  [[nodiscard]] bool ReadUInt16(uint16_t& value);
  [[nodiscard]] bool ReadUInt32(uint32_t& value);
  [[nodiscard]] bool ReadString(std::wstring& text);
  // Loading: true when every byte has been read.
  [[nodiscard]] bool IsAtEnd() const;

 private:
  CArchive(bool storing, HANDLE file, std::string* memoryOut, std::string_view memoryIn);
  void WriteBytes(const void* data, size_t count);
  [[nodiscard]] bool ReadBytes(void* data, size_t count);
  [[nodiscard]] bool FillBuffer();
  [[nodiscard]] uint64_t RemainingBytes() const;

  bool storing_;
  bool failed_ = false;
  HANDLE file_;
  std::string* memoryOut_;
  std::string_view memoryIn_;
  std::string buffer_;
  size_t bufferPos_ = 0;       // loading: next unread byte of buffer_
  uint64_t fileRemaining_ = 0;  // loading from a file: bytes not yet in buffer_
};

}  // namespace platform
