// The texts of the desktop association: the shared-mime-info type of printout
// files, the desktop entry that opens them, the desktop shortcut, and the
// default-application line of a mimeapps.list. Pure functions over text; the
// files are written by the installation steps.
#pragma once

#include <QByteArray>
#include <QString>

namespace zorpokaz {

// The MIME package: kMimeType for *.wyd (any case), "Wydruk z programu ZOREL
// 2001", with its own icon.
QByteArray MimePackageXml();

// The handler of printout files: Exec="<exe>" %f, hidden from menus like the
// original association, which added no menu entry.
QByteArray AssociationEntry(const QString& exe);

// The same handler as the system package ships it: shown in the menus
// (office, viewers), so that the program installed like any other desktop
// program can be found there.
QByteArray MenuEntry(const QString& exe);

// The desktop shortcut: starts `exe` without arguments in `programDir`.
QByteArray ShortcutEntry(const QString& exe, const QString& programDir);

// `text` of a mimeapps.list with `type` mapped to `desktopId` as the only line
// for that type in [Default Applications] (created when missing); every other
// line stays as it was.
QString WithDefaultApplication(const QString& text, const QString& type, const QString& desktopId);
// `text` without the line mapping `type` to `desktopId`; a line that maps the
// type to another handler is left alone.
QString WithoutDefaultApplication(const QString& text, const QString& type, const QString& desktopId);
// True when nothing but section headers and blank lines is left: a list that
// only we had anything in.
bool IsBlankList(const QString& text);

}  // namespace zorpokaz
