#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// cab32.dll: cabinet archives.
class TCab : public TCustomArchiver {
 public:
  explicit TCab(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Test(const std::string& files) override;
};

}  // namespace ArchiverN
