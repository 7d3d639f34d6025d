#include "base/FileIo.h"

#include <unistd.h>

#include <cerrno>

namespace etibarix::base {

namespace {

template<typename Buffer, typename Transfer>
bool transferAll(int fd, Buffer buf, std::size_t len, off_t pos, Transfer transfer)
{
    while (len > 0) {
        const ssize_t n = transfer(fd, buf, len, pos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        buf += n;
        len -= static_cast<std::size_t>(n);
        pos += n;
    }
    return true;
}

} // namespace

bool preadAll(int fd, char *buf, std::size_t len, off_t pos)
{
    return transferAll(fd, buf, len, pos, ::pread);
}

bool pwriteAll(int fd, const char *buf, std::size_t len, off_t pos)
{
    return transferAll(fd, buf, len, pos, ::pwrite);
}

} // namespace etibarix::base
