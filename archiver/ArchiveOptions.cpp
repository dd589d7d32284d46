#include "archiver/ArchiveOptions.h"

namespace ArchiverN {

TArchiveOptions::TArchiveOptions() { Reset(); }

void TArchiveOptions::Reset() {
  Attributes = true;
  ShowDialog = false;
  IgnorePath = false;
  WorkDir.clear();
  Method.clear();
  CheckTime = true;
  Overwrite = true;
  Recursive = true;
  AfterDate.clear();
  BeforeDate.clear();
  Excludes.clear();
}

}  // namespace ArchiverN
