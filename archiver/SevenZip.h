#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// 7-zip32.dll: 7z archives, and ZIP archives in zip mode.
class T7Zip : public TCustomArchiver {
 public:
  explicit T7Zip(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Test(const std::string& files) override;

  // Forces the ZIP format in every command; set by the owner right after
  // construction and never cleared.
  bool ZipMode = false;
};

}  // namespace ArchiverN
