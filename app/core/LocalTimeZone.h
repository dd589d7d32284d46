#pragma once

namespace quillaby {

// While TZ is unset, the C library looks at the zone file again on every
// local-time conversion, which the archive readers make for every entry.
// Naming that same file once lets it keep the zone for the process. A TZ the
// user set is left as it is.
void CacheLocalTimeZone();

}  // namespace quillaby
