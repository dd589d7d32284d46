#pragma once
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

// unrar32.dll: RAR archives, extract and test only.
class TRar : public TCustomArchiver {
 public:
  explicit TRar(IArchiverOwner* owner);

  std::string GetSwitches() override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Compress(const std::string& files) override;
  int CompressToMemory(const std::string& files, const unsigned char* data, std::uint32_t& size,
                       std::int32_t time, std::uint16_t attribute) override;
  int Test(const std::string& files) override;
};

}  // namespace ArchiverN
