#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// unlha32.dll: LHA archives.
class TLha : public TCustomArchiver {
 public:
  explicit TLha(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Test(const std::string& files) override;
};

}  // namespace ArchiverN
