#pragma once
#include <cstddef>

namespace plat::posix {

// Copies `count` bytes out of a file mapping. When the file was truncated by another program, touching
// the pages past its new end raises SIGBUS; the copy is then abandoned and false returned instead of the
// process being killed. Faults outside the guarded source range keep their previous handling.
bool guardedCopy(void* dst, const void* src, std::size_t count);

} // namespace plat::posix
