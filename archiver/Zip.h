#pragma once
// unzip32.dll for extraction, testing and listing; zip32j.dll for
// compression, loaded on first need. Compress commands carry a leading "!"
// that routes them to zip32j.dll.
#include "archiver/CustomArchiver.h"

namespace ArchiverN {

class TZip : public TCustomArchiver {
 public:
  explicit TZip(IArchiverOwner* owner);
  ~TZip() override;

  // Loads zip32j.dll once; a failed load is never retried.
  void LoadZipDll();

  int Execute(const std::string& command) override;
  std::string MakeCompressCommand(const std::string& files) override;
  std::string MakeExtractCommand(const std::string& files) override;
  int Compress(const std::string& files) override;
  int CompressToMemory(const std::string& files, const unsigned char* data, std::uint32_t& size,
                       std::int32_t time, std::uint16_t attribute) override;
  int Extract(const std::string& files) override;
  int ExtractToMemory(const std::string& files, unsigned char* buffer, std::uint32_t& size, std::int32_t& time,
                      std::uint16_t& attribute) override;
  int Test(const std::string& files) override;
  bool ConfigDialog(int mode, std::string& text) override;

  // Null: not tried yet; ZipDllFailed: tried and failed; else loaded.
  static inline platform::HMODULE const ZipDllFailed = reinterpret_cast<platform::HMODULE>(~std::uintptr_t{0});
  platform::HMODULE ZipDll = nullptr;
  ARC_COMMAND_FN UnZipProc = nullptr;
  ARC_COMMAND_FN ZipProc = nullptr;
  ARC_GETVERSION_FN ZipGetVersionProc = nullptr;
  ARC_GETBOOL_FN ZipGetRunningProc = nullptr;
  ARC_CONFIGDIALOG_FN ZipConfigDialogProc = nullptr;
  ARC_SETOWNERWINDOWEX_FN ZipSetOwnerWindowExProc = nullptr;
  ARC_GETBOOL_FN ZipQueryEncryptionProc = nullptr;

 private:
  bool ZipDllLoaded() const { return ZipDll != nullptr && ZipDll != ZipDllFailed; }
};

}  // namespace ArchiverN
