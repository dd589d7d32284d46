#include "app/core/BatchRun.h"

namespace quillaby {

// The whole text is split, however long: nothing is cut at a fixed size.
std::vector<std::string> TBatchRun::SplitMasks(const std::string& text) {
  std::vector<std::string> masks;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) masks.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return masks;
}

}  // namespace quillaby
