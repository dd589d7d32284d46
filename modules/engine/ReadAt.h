#pragma once
// Reading a piece of an archive by offset, for the header walks of our own.
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillaby::arc {

// out = the n bytes at off; false when the file ends first or cannot be read.
bool ReadAt(int fd, std::uint64_t off, std::size_t n, std::string& out);

}  // namespace quillaby::arc
