// Opening the program directory to ordinary users: the directory goes to the
// "users" group with read and write rights, and so does every printout in it.
// New files there belong to the group too; the sticky bit keeps users from
// deleting or replacing files they do not own, the viewer executable first of
// all, which root runs for removal.
#pragma once

#include <QString>

namespace zorpokaz {

inline constexpr char kUsersGroup[] = "users";

// Throws Error at the first step that fails; the steps before it stay done.
// Links are never followed: a printout name that is a link, or a directory
// replaced by one, is not touched. The root directory is never changed.
void GiveToUsersGroup(const QString& programDir);

}  // namespace zorpokaz
