#pragma once
// The bar position for one progress notification of an archiver module.
#include "modules/arcapi.h"

namespace quillaby {

// Bytes written over the file size, in percent, truncated: 0 without a record
// or for a size of 0. May exceed 100 when a module writes more than it
// announced.
int ProgressPosition(const ARC_PROGRESS* record);

}  // namespace quillaby
