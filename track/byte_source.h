#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace ostrel {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Sequential reads from a file of known size through one reusable buffer. Reads past the
// size deliver less, never more, so a file that grows while it is read changes nothing; a
// read error ends the data early.
class ByteSource {
 public:
  ByteSource(std::FILE* file, std::uint64_t size, std::size_t bufferBytes);

  // Copies up to `count` bytes to `out` and returns how many were delivered.
  std::size_t Read(void* out, std::size_t count);

  std::uint64_t offset() const { return offset_; }
  std::uint64_t size() const { return size_; }
  bool failed() const { return failed_; }

 private:
  bool Refill();

  std::FILE* file_;
  std::uint64_t size_;
  std::uint64_t offset_ = 0;  // logical position of the next byte handed out
  std::vector<unsigned char> buffer_;
  std::size_t begin_ = 0;  // next unread byte in buffer_
  std::size_t end_ = 0;    // end of the valid bytes in buffer_
  bool failed_ = false;
};

// Opens a file for binary reading and takes its size; nothing on failure (including for
// things that are not regular, seekable files).
struct OpenedFile {
  FileHandle handle;
  std::uint64_t size = 0;
};
bool OpenForReading(const char* path, OpenedFile& opened);

}  // namespace ostrel
