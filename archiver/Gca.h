#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// UnGCA32.dll: GCA archives. Its compress command takes absolute paths
// against the output folder instead of an output-folder argument.
class TGca : public TCustomArchiver {
 public:
  explicit TGca(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
};

}  // namespace ArchiverN
