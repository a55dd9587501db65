// Reading printouts held in memory the way a file is read: signature, type
// name, inflating, body records.
#pragma once

#include <QByteArray>
#include <string>

#include "document/tmlinewydruk.h"

namespace zorpokaz::writer {

// Loads a whole printout file image into `content`; reading errors propagate.
void loadBytes(const QByteArray& file, TMLineWydruk& content);
// Loads an uncompressed body into `content`.
void loadBody(const QByteArray& body, TMLineWydruk& content);

// The message of the error that loading raises, or "" when it loads.
std::string loadError(const QByteArray& file);
std::string bodyError(const QByteArray& body);

}  // namespace zorpokaz::writer
