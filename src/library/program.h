// Facts about the running viewer program: its directory, which is the
// printout library, and the version of an executable.
#pragma once

#include <QString>

namespace zorpokaz {

// The directory of the running executable, absolute, ending with "/". Taken
// once, on the first call, and unchanged for the life of the process.
QString ProgramDir();
// The running executable's full path.
QString ProgramFile();

// The first five characters of an executable's file version ("2.1.0" of
// "2.1.0.0"); empty when there is none. The viewer knows its own version;
// version resources of other executables are not read yet, so any other
// file has none.
QString ProgramVersion(const QString& exePath);

}  // namespace zorpokaz
