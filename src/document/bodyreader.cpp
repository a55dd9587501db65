#include "document/bodyreader.h"

#include <algorithm>
#include <new>

#include "document/modelarena.h"
#include "document/stylenames.h"
#include "platform/errors.h"

namespace zorpokaz {

namespace {

// What the reader reads ahead from a stream that keeps no buffer it shows.
constexpr qsizetype kReadAhead = 65536;
// A picture grows by pieces of this size, so a size field that promises more
// than the body holds costs at most one piece before the read fails.
constexpr std::size_t kPictureChunk = 65536;

}  // namespace

BodyReader::BodyReader(Stream& stream, const ContentLimits& limits, ModelArena& arena, StyleNames& names,
                       std::vector<EmfPicture>& pictures)
    : m_stream(stream), m_limits(limits), m_arena(arena), m_names(names), m_pictures(pictures) {}

BodyReader::~BodyReader() {
  if (m_peeks) m_stream.skip(static_cast<std::size_t>(m_p - m_window));
}

bool BodyReader::nextWindow() {
  if (m_peeks) {
    m_stream.skip(static_cast<std::size_t>(m_end - m_window));
    m_window = m_p = m_end = nullptr;
    Stream::Piece piece;
    if (m_stream.peek(piece)) {
      if (piece.size == 0) {
        // As the stream's own read: nothing more, or the damage right here.
        if (piece.damagedAfter) throw EDecompressionError("error");
        return false;
      }
      m_window = m_p = piece.data;
      m_end = piece.data + piece.size;
      m_damaged = piece.damagedAfter;
      return true;
    }
    m_peeks = false;
  }
  if (m_buffer.isEmpty()) m_buffer.resize(kReadAhead);
  const std::size_t got = m_stream.read(m_buffer.data(), static_cast<std::size_t>(m_buffer.size()));
  m_window = m_p = reinterpret_cast<const unsigned char*>(m_buffer.constData());
  m_end = m_p + got;
  return got > 0;
}

std::size_t BodyReader::take(void* buffer, std::size_t n) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t total = 0;
  while (total < n) {
    if (m_p == m_end) {
      if (!nextWindow()) break;
      continue;
    }
    const std::size_t k = std::min(n - total, available());
    std::memcpy(out + total, m_p, k);
    m_p += k;
    total += k;
  }
  // The stream fails the read that takes the last good byte before damage.
  if (m_damaged && m_p == m_end && total > 0) throw EDecompressionError("error");
  return total;
}

bool BodyReader::readSlow(void* buffer, std::size_t n) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t got = 0;
  while (got < n) {
    const std::size_t k = take(out + got, n - got);
    if (k == 0) {
      m_ended = true;
      return false;
    }
    got += k;
  }
  return true;
}

void BodyReader::takeExact(void* buffer, std::size_t n) {
  auto* out = static_cast<unsigned char*>(buffer);
  while (n > 0) {
    const std::size_t k = take(out, n);
    if (k == 0) throw EReadError("Stream read error");
    out += k;
    n -= k;
  }
}

// Across windows, at the end of the data or before damage: piece by piece,
// every failure inside the string being the string's own error.
QByteArrayView BodyReader::bodyStringSlow() {
  auto plain = [this](unsigned char* out, std::size_t n) {
    for (std::size_t got = 0; got < n;) {
      const std::size_t k = take(out + got, n - got);
      if (k == 0) throw markerError(kMarkerShortString);
      got += k;
    }
  };
  try {
    unsigned char head[2] = {0, 0};
    plain(head, 1);
    std::size_t length = 0;
    if (head[0] == kMarkerShortString) {
      plain(head, 1);
      length = head[0];
    } else if (head[0] == kMarkerLongString) {
      plain(head, 2);
      length = head[0] | (std::size_t(head[1]) << 8);
    } else {
      throw markerError(kMarkerShortString);
    }
    m_scratch.resize(static_cast<qsizetype>(length));
    if (length > 0) takeExact(m_scratch.data(), length);
    return m_scratch;
  } catch (const EReadFileError&) {
    throw;
  } catch (const Error&) {
    throw markerError(kMarkerShortString);
  }
}

EmfPicture BodyReader::readPicture() {
  char header[EmfPicture::kHeaderSize];
  takeExact(header, sizeof header);
  const std::uint32_t total = EmfPicture::checkHeader(header);  // throws on a wrong signature
  if (total < EmfPicture::kHeaderSize) throw EInvalidGraphic("Metafile is not valid");
  QByteArray bytes(header, sizeof header);
  std::size_t left = total - EmfPicture::kHeaderSize;
  while (left > 0) {
    const std::size_t piece = std::min(left, kPictureChunk);
    const qsizetype at = bytes.size();
    bytes.resize(at + static_cast<qsizetype>(piece));
    takeExact(bytes.data() + at, piece);
    left -= piece;
  }
  return EmfPicture(std::move(bytes));
}

std::uint32_t BodyReader::keepPicture(const EmfPicture& picture) {
  // Keyed by the bytes themselves (shared, not copied): a logo repeated on
  // every page is held, and converted for drawing, once.
  const auto known = m_pictureIndex.constFind(picture.bytes());
  if (known != m_pictureIndex.constEnd()) return *known;
  const auto index = static_cast<std::uint32_t>(m_pictures.size());
  m_pictures.push_back(picture);
  m_pictureIndex.insert(picture.bytes(), index);
  return index;
}

TPole* BodyReader::newFields(int count) {
  auto* fields = static_cast<TPole*>(m_arena.allocate(sizeof(TPole) * static_cast<std::size_t>(count), alignof(TPole)));
  for (int i = 0; i < count; ++i) new (fields + i) TPole();
  return fields;
}

}  // namespace zorpokaz
