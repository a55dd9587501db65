#include "document/tmlinewydruk.h"

#include <new>
#include <stdexcept>

#include "document/bodyreader.h"

namespace zorpokaz {

TMLineWydruk::TMLineWydruk() : Styles(this), Root(this) {}

TMLineWydruk::~TMLineWydruk() = default;

bool TMLineWydruk::LoadFromStream(Stream& stream) {
  Clear();
  try {
    readBody(stream);
  } catch (const std::bad_alloc&) {
    Clear();
    throw notReadableError();
  } catch (const std::length_error&) {
    Clear();
    throw notReadableError();
  } catch (...) {
    Clear();
    throw;
  }
  return true;
}

void TMLineWydruk::readBody(Stream& stream) {
  BodyReader reader(stream, Limits);
  reader.read(Version);
  if (Version > kMaxBodyVersion) throw versionError(Version);
  reader.Version = Version;
  if (Version >= 5) {
    reader.read(Units);
    // 180 / 0 has no scale; the original stopped on the division.
    if (Units == 0) throw markerError(0);
  }
  Scale = static_cast<float>(180.0L / Units);
  reader.Scale = Scale;
  reader.read(LineSpacing);
  std::int32_t reservedInt = 0;
  std::uint8_t reservedByte = 0;
  reader.read(reservedInt);
  reader.read(reservedByte);
  if (Version >= 2) reader.read(LinesPerPage);
  Styles.LoadFromStream(reader);
  Root.LoadFromStream(reader);
  // The data ended where no marker check followed (inside the last values of
  // the root block): the body is incomplete all the same.
  if (reader.ended()) throw markerError(kMarkerBlock);
  m_lineCount = reader.lines();
  m_fieldCount = reader.fields();
}

void TMLineWydruk::Clear() {
  FreePages();
  m_canvas.reset();
  m_pageImage.clear();
  Styles.Clear();
  Root.Clear();
  // Values a body of a lower version does not store take their defaults, not
  // what the previous load left.
  Version = 0;
  Units = 1200;
  Scale = 180.0f / 1200;
  LineSpacing = 0.0f;
  LinesPerPage = 84;
  RepeatingHeadings = false;
  LinesDone = 0;
  LinesTotal = 0;
  m_lineCount = 0;
  m_fieldCount = 0;
}

int TMLineWydruk::TotalLines() {
  if (LinesTotal == 0) LinesTotal = Root.CountLines();
  return LinesTotal;
}

}  // namespace zorpokaz
