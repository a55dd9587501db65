#include "support/loadbytes.h"

#include "document/linedruk.h"
#include "platform/files/memorystream.h"

namespace zorpokaz::writer {

void loadBytes(const QByteArray& file, TMLineWydruk& content) {
  MemoryStream stream(file);
  auto body = OpenBodyOf(stream);
  content.LoadFromStream(*body);
}

void loadBody(const QByteArray& body, TMLineWydruk& content) {
  MemoryStream stream(body);
  content.LoadFromStream(stream);
}

namespace {

template <typename Load>
std::string errorOf(const QByteArray& bytes, Load load) {
  TMLineWydruk content;
  try {
    load(bytes, content);
  } catch (const Error& e) {
    return e.what();
  }
  return {};
}

}  // namespace

std::string loadError(const QByteArray& file) { return errorOf(file, loadBytes); }
std::string bodyError(const QByteArray& body) { return errorOf(body, loadBody); }

}  // namespace zorpokaz::writer
