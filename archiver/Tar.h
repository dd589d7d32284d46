#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// tar32.dll: tar and the single-file compressors, cpio, rpm and deb.
class TTar : public TCustomArchiver {
 public:
  explicit TTar(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
};

}  // namespace ArchiverN
