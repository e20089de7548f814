#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "file_io.h"

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    std::string temp = path.string() + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot create a temporary file beside " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = "cannot write " + temp + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        error = "cannot flush " + temp + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    ::chmod(temp.c_str(), 0644);
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path.string() + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
