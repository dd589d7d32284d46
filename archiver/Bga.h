#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// Bga32.dll: BGA archives (.gza, .bza).
class TBga : public TCustomArchiver {
 public:
  explicit TBga(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Test(const std::string& files) override;
};

}  // namespace ArchiverN
