// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file on Linux: mkstemp beside it (beside the target of a link), fsync, rename over it.
#include "platform/FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool NoWriteBits(const std::string &path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
}

bool WriteAll(int fd, const std::string &content) {
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a chain of symbolic links ends at (it need not exist yet); the path itself when it is no link.
std::string LinkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            break;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || length >= PATH_MAX) {
            break;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : path.substr(0, path.rfind('/') + 1) + target;
    }
    return path;
}

} // namespace

bool WriteFileAtomically(const std::string &file, const std::string &content, bool privateFile) {
    // A settings file kept as a link (dotfiles in a folder of their own) stays one: the file it points to is
    // replaced, by a temporary beside that file, so the rename stays within its file system.
    const std::string path = LinkTarget(file);
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    // Read-only files and folders are refused even for a user whom the system would let through (root).
    if ((existed && (old.st_mode & 0222) == 0) || NoWriteBits(folder.empty() ? std::string(".") : folder)) {
        return false;
    }
    std::string temp = path + kReplaceTemporarySuffix + "XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    const mode_t mode = !privateFile && existed ? (old.st_mode & 07777) : mode_t{0600};
    bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

} // namespace platform
