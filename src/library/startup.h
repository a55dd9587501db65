// The viewer program's start: only the first command-line argument counts.
// "INST" and "UNINST" (exactly, case-sensitively) run installation or removal
// and end without any window but message windows; anything else starts the
// interactive viewer with the list window as its main window.
#pragma once

#include "core/program.h"

#include <QString>
#include <QStringList>

class QApplication;

namespace zorpokaz {

enum class StartKind { Install, Uninstall, Viewer };

// The first argument after the program's own name; empty when there is none.
QString StartArgument(const QStringList& arguments);
StartKind StartKindOf(const QString& argument);

// Runs the program in a created application and returns its exit status.
// The viewer's message loop runs until the list window closes.
int RunProgram(QApplication& app, const QString& argument, const QString& libraryDir = ProgramDir());

}  // namespace zorpokaz
