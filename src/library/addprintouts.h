// Adding printouts to the library: the chooser's settings, the per-file test
// the chooser applies, taking printouts out of a package with questions and
// messages, and the whole run behind the list window's "Dodaj wydruk" (F7).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace zorpokaz {

class TExplorer;
class TWorkingDlg;

// The chooser as adding printouts uses it: "*.WYD;*.EXE;*.RUN" (".RUN" are
// our own packages), several files, search on, no preview. `startDir` stands
// for the original's "C:\".
void ConfigureExplorer(TExplorer& explorer, const QString& startDir);
// The please-wait window as adding printouts uses it.
void ConfigureWorkingDlg(TWorkingDlg& working);

// Whether the chooser offers a file: a printout with its signature, or a
// package with at least one printout record. Never reports anything.
bool FileAcceptable(const QString& path);

// Takes the printouts of a package into `libraryDir`, asking before every
// overwrite. Every error is shown by the application's error report; the
// printouts written before it stay.
void UnpackPackage(const QString& path, const QString& libraryDir);

// The whole adding run: the chooser, then each chosen file copied or
// unpacked under the please-wait window, then `refresh` — skipped when an
// error ended the run (it is shown by the application's error report).
void AddPrintouts(TExplorer& explorer, TWorkingDlg& working, const QString& libraryDir,
                  const std::function<void()>& refresh);

}  // namespace zorpokaz
