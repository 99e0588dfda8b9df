#include "ZipWriter.h"

#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace {
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint16_t kVersion = 20;  // 2.0: deflate
constexpr std::uint16_t kUtf8Names = 0x0800;

// Little-endian fields, as zip keeps them.
struct Bytes {
  std::vector<std::uint8_t> out;
  void u16(std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
  }
  void u32(std::uint32_t v) {
    u16(std::uint16_t(v));
    u16(std::uint16_t(v >> 16));
  }
  void text(const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }
};

bool isAscii(const std::string& name) {
  for (unsigned char c : name)
    if (c >= 0x80) return false;
  return true;
}

std::uint16_t flagsFor(const std::string& name) {
  return isAscii(name) ? 0 : kUtf8Names;
}

// The fields a local header and its central directory record share, in order.
template <class Entry>
void entryFields(Bytes& header, const Entry& entry, std::uint16_t dosTime, std::uint16_t dosDate) {
  header.u16(flagsFor(entry.name));
  header.u16(std::uint16_t(entry.method));
  header.u16(dosTime);
  header.u16(dosDate);
  header.u32(entry.crc);
  header.u32(entry.packedSize);
  header.u32(entry.size);
  header.u16(std::uint16_t(entry.name.size()));
}

// Raw deflate (no zlib header), as zip entries hold it.
bool deflateRaw(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    return false;
  out.resize(deflateBound(&stream, uLong(in.size())));
  stream.next_in = const_cast<Bytef*>(in.data());
  stream.avail_in = uInt(in.size());
  stream.next_out = out.data();
  stream.avail_out = uInt(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return status == Z_STREAM_END;
}
}  // namespace

ZipWriter::ZipWriter(const std::string& path, std::time_t modified) : path_(path) {
  std::tm local{};
  localtime_r(&modified, &local);
  // DOS dates begin in 1980.
  const int year = local.tm_year + 1900 < 1980 ? 0 : local.tm_year + 1900 - 1980;
  dosDate_ = std::uint16_t((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  dosTime_ = std::uint16_t((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) fail(std::strerror(errno));
}

ZipWriter::~ZipWriter() {
  if (file_) std::fclose(file_);
}

bool ZipWriter::fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write " + path_ + ": " + reason;
  return false;
}

bool ZipWriter::write(const std::vector<std::uint8_t>& bytes) {
  if (!error_.empty()) return false;
  if (std::uint64_t(offset_) + bytes.size() > std::numeric_limits<std::uint32_t>::max())
    return fail("the archive would pass 4 GiB");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    return fail(std::strerror(errno));
  offset_ += std::uint32_t(bytes.size());
  return true;
}

void ZipWriter::writeLocalHeader(const Entry& entry) {
  Bytes header;
  header.u32(kLocalSignature);
  header.u16(kVersion);
  entryFields(header, entry, dosTime_, dosDate_);
  header.u16(0);  // no extra field: an EPUB's mimetype must sit at a fixed offset
  header.text(entry.name);
  write(header.out);
}

bool ZipWriter::add(const std::string& name, const std::vector<std::uint8_t>& bytes,
                    Method method) {
  if (!error_.empty()) return false;
  if (name.empty() || name.size() > 0xffff) return fail("bad entry name \"" + name + "\"");
  if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
    return fail(name + " is larger than 4 GiB");
  std::vector<std::uint8_t> packed;
  if (method == Method::Deflated && !deflateRaw(bytes, packed))
    return fail("cannot compress " + name);
  const std::vector<std::uint8_t>& data = method == Method::Deflated ? packed : bytes;
  Entry entry{name,
              method,
              std::uint32_t(crc32(0L, bytes.data(), uInt(bytes.size()))),
              std::uint32_t(data.size()),
              std::uint32_t(bytes.size()),
              offset_};
  writeLocalHeader(entry);
  if (!write(data)) return false;
  entries_.push_back(std::move(entry));
  return true;
}

bool ZipWriter::add(const std::string& name, const std::string& text, Method method) {
  return add(name, std::vector<std::uint8_t>(text.begin(), text.end()), method);
}

void ZipWriter::writeCentralHeader(const Entry& entry) {
  Bytes header;
  header.u32(kCentralSignature);
  header.u16(kVersion);  // made by: MS-DOS attributes, version 2.0
  header.u16(kVersion);
  entryFields(header, entry, dosTime_, dosDate_);
  header.u16(0);  // extra field
  header.u16(0);  // comment
  header.u16(0);  // disk
  header.u16(0);  // internal attributes
  header.u32(0);  // external attributes
  header.u32(entry.offset);
  header.text(entry.name);
  write(header.out);
}

bool ZipWriter::finish() {
  if (!error_.empty()) return false;
  if (entries_.size() > 0xffff) return fail("too many entries");
  const std::uint32_t directory = offset_;
  for (const Entry& entry : entries_) writeCentralHeader(entry);
  Bytes end;
  end.u32(kEndSignature);
  end.u16(0);
  end.u16(0);
  end.u16(std::uint16_t(entries_.size()));
  end.u16(std::uint16_t(entries_.size()));
  end.u32(offset_ - directory);
  end.u32(directory);
  end.u16(0);
  if (!write(end.out)) return false;
  // On the disk before anyone renames it into place.
  if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) return fail(std::strerror(errno));
  const int closed = std::fclose(file_);
  file_ = nullptr;
  return closed == 0 || fail(std::strerror(errno));
}
