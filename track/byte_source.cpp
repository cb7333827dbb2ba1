#include "track/byte_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace ostrel {

ByteSource::ByteSource(std::FILE* file, std::uint64_t size, std::size_t bufferBytes)
    : file_(file), size_(size), buffer_(bufferBytes) {}

bool ByteSource::Refill() {
  begin_ = 0;
  end_ = 0;
  if (failed_ || offset_ >= size_) return false;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), size_ - offset_));
  end_ = std::fread(buffer_.data(), 1, wanted, file_);
  if (end_ < wanted && std::ferror(file_)) failed_ = true;
  if (end_ == 0) {
    // The file ended before its size said (it shrank); what was not delivered is absent.
    size_ = offset_;
    return false;
  }
  return true;
}

std::size_t ByteSource::Read(void* out, std::size_t count) {
  auto* target = static_cast<unsigned char*>(out);
  std::size_t delivered = 0;
  while (delivered < count) {
    if (begin_ == end_ && !Refill()) break;
    const std::size_t take = std::min(count - delivered, end_ - begin_);
    std::memcpy(target + delivered, buffer_.data() + begin_, take);
    begin_ += take;
    delivered += take;
    offset_ += take;
  }
  return delivered;
}

static_assert(sizeof(long) >= 8, "file offsets beyond 2 GiB are taken through long");

bool OpenForReading(const char* path, OpenedFile& opened) {
  // Directories and pipes would open but read nothing, or block: only plain files count.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  FileHandle file(std::fopen(path, "rb"));
  if (!file) return false;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
  const long size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
  // Our own buffer does the buffering; a second one in stdio would only copy twice.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  opened.handle = std::move(file);
  opened.size = static_cast<std::uint64_t>(size);
  return true;
}

}  // namespace ostrel
