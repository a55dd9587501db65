// The program's message routines over TMsgOkienko: each shows the window
// modally, centred on the screen, under the given title, and returns the
// user's answer. A line break in the message keeps it unwrapped; a vertical
// tab (code 11) anywhere in it left-aligns it. Esc always answers no/cancel.
#pragma once

#include <QString>

namespace zorpokaz {

// The core routine: kind and button set as TMsgOkienko defines them; returns
// the window's result (TMsgOkienko::TModalResult).
int ShowMessageWindow(const QString& title, const QString& message, int kind, int buttons);

// Beeps, then shows the message in dark red with "&Ok".
void ShowError(const QString& title, const QString& message);
void ShowInfo(const QString& title, const QString& message);
// True only for "&Tak".
bool AskYesNo(const QString& title, const QString& message);
// True only for "&Ok".
bool AskOkCancel(const QString& title, const QString& message);
// True only for "&Powtórz".
bool AskRetryCancel(const QString& title, const QString& message);
// True only when the user typed T, A, K in order.
bool AskTypedYes(const QString& title, const QString& message);

}  // namespace zorpokaz
