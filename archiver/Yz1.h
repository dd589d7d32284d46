#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// Yz1.dll: YZ1 archives.
class TYz1 : public TCustomArchiver {
 public:
  explicit TYz1(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
};

}  // namespace ArchiverN
