#include "document/bodyreader.h"

namespace zorpokaz {

void BodyReader::read(std::uint8_t& value) {
  if (!ReadUInt8(m_stream, value)) m_ended = true;
}

void BodyReader::read(bool& value) {
  std::uint8_t byte = value ? 1 : 0;
  read(byte);
  value = byte != 0;
}

void BodyReader::read(std::int32_t& value) {
  if (!ReadInt32(m_stream, value)) m_ended = true;
}

void BodyReader::read(float& value) {
  if (!ReadFloat32(m_stream, value)) m_ended = true;
}

void BodyReader::expectMarker(std::uint8_t expected) {
  std::uint8_t marker = 0;
  if (!ReadUInt8(m_stream, marker)) {
    m_ended = true;
    throw markerError(expected);
  }
  if (marker != expected) throw markerError(expected);
}

EmfPicture BodyReader::sharedPicture(EmfPicture picture) {
  // Keyed by the bytes themselves (shared, not copied).
  const auto known = m_pictures.constFind(picture.bytes());
  if (known != m_pictures.constEnd()) return *known;
  m_pictures.insert(picture.bytes(), picture);
  return picture;
}

QByteArray BodyReader::readString() { return ReadBodyString(m_stream); }

QByteArray BodyReader::readName() {
  ReadBodyString(m_stream, m_scratch);
  for (const QByteArray& known : m_names)
    if (known == m_scratch) return known;
  const QByteArray name(m_scratch.constData(), m_scratch.size());
  m_names[m_nextName] = name;
  m_nextName = (m_nextName + 1) % m_names.size();
  return name;
}

}  // namespace zorpokaz
