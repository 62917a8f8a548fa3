#pragma once

#include <QString>

namespace tarvello
{

// True when another program holds a lock on the file (on Linux: any POSIX or open-file-description
// lock on it). Such a file is in use and is not replaced under that program's feet. Elsewhere a
// file held open by another program refuses to be replaced by itself, so this answers false.
bool isFileLockedByOthers(const QString& path);

} // namespace tarvello
