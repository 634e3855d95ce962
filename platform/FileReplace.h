// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a whole file in one step: a temporary file in the same folder takes the old file's place.
#pragma once

#include <string>

namespace platform {

// The temporary of a replace is the file's name + this + six random characters.
inline constexpr char kReplaceTemporarySuffix[] = ".tmp.";

// Writes content (bytes) to a temporary file beside path (UTF-8) and puts it in path's place in one step, so a
// crash or a full disk never leaves a truncated file. A private file is the user's alone at every write; any
// other keeps the permissions it had, and is the user's alone when new. False when the system refused (also a
// read-only file or folder): the old file stays as it was and no temporary is left. A path that is a symbolic link
// stays a link: the file it points to is the one replaced.
bool WriteFileAtomically(const std::string &path, const std::string &content, bool privateFile);

} // namespace platform
