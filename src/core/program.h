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

// The first five characters of the value "FileVersion" of the Polish string
// table (041504E2) of an executable's version resource ("2.1.0" of
// "2.1.0.0"); empty when there is none. The running viewer answers with its
// own version.
QString ProgramVersion(const QString& exePath);

}  // namespace zorpokaz
