#pragma once
// Whole-buffer positioned reads and writes on a file descriptor: the table and
// its index both read and write blocks at fixed offsets, and a short transfer
// or an interrupted call must not pass for a complete one.

#include <sys/types.h>

#include <cstddef>

namespace etibarix::base {

// False when the file ends or an error occurs before len bytes moved.
bool preadAll(int fd, char *buf, std::size_t len, off_t pos);
bool pwriteAll(int fd, const char *buf, std::size_t len, off_t pos);

} // namespace etibarix::base
