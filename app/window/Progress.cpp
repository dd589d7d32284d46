#include "app/window/Progress.h"

#include <algorithm>
#include <climits>

namespace quillaby {

int ProgressPosition(const ARC_PROGRESS* record) {
  if (record == nullptr || record->dwFileSize == 0) return 0;
  // The ratio first, then the percentage: 29 of 100 gives 28, as the double
  // nearest 0.29 is a little below it.
  double ratio = static_cast<double>(record->dwWriteSize) / static_cast<double>(record->dwFileSize);
  return static_cast<int>(std::min(ratio * 100.0, static_cast<double>(INT_MAX)));
}

}  // namespace quillaby
