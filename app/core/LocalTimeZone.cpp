#include "app/core/LocalTimeZone.h"

#include <stdlib.h>
#include <time.h>

namespace quillaby {

void CacheLocalTimeZone() {
  ::setenv("TZ", ":/etc/localtime", 0);
  ::tzset();
}

}  // namespace quillaby
