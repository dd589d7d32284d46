#pragma once
// The base of every format driver: one archiver module, loaded by file name,
// its prefixed functions, one archive's state, and the command lines.
// Every wrapper answers softly (0, false or -1) when its function is missing.
#include <cstdint>
#include <string>

#include "archiver/ArchiveOptions.h"
#include "archiver/ArchiveType.h"
#include "archiver/ArchiverOwner.h"
#include "modules/arcapi.h"
#include "platform/component.h"
#include "platform/dynlib.h"
#include "platform/winmsg.h"

namespace ArchiverN {

// The module's functions, null when not resolved.
struct TArchiverFunctions {
  ARC_COMMAND_FN Command = nullptr;
  ARC_GETVERSION_FN GetVersion = nullptr;
  ARC_SETINT_FN QueryFunctionList = nullptr;
  ARC_CHECKARCHIVE_FN CheckArchive = nullptr;
  ARC_GETBOOL_FN GetRunning = nullptr;
  ARC_GETBOOL_FN GetBackGroundMode = nullptr;
  ARC_SETBOOL_FN SetBackGroundMode = nullptr;
  ARC_GETBOOL_FN GetCursorMode = nullptr;
  ARC_SETBOOL_FN SetCursorMode = nullptr;
  ARC_GETINT_FN GetCursorInterval = nullptr;
  ARC_SETINT_FN SetCursorInterval = nullptr;
  ARC_GETFILECOUNT_FN GetFileCount = nullptr;
  ARC_EXTRACTMEM_FN ExtractMem = nullptr;
  ARC_COMPRESSMEM_FN CompressMem = nullptr;
  ARC_CONFIGDIALOG_FN ConfigDialog = nullptr;
  ARC_OPENARCHIVE_FN OpenArchive = nullptr;
  ARC_CLOSEARCHIVE_FN CloseArchive = nullptr;
  ARC_FINDFIRST_FN FindFirst = nullptr;
  ARC_FINDNEXT_FN FindNext = nullptr;
  ARC_SETOWNERWINDOWEX_FN SetOwnerWindowEx = nullptr;
};

class TCustomArchiver : public platform::TComponent {
 public:
  explicit TCustomArchiver(IArchiverOwner* owner);
  ~TCustomArchiver() override;

  virtual void LoadDll(const std::string& libraryName, const std::string& prefix);
  virtual int GetVersion();
  virtual bool GetRunning();
  virtual std::string GetSwitches();
  virtual std::string MakeCompressCommand(const std::string& files);
  virtual std::string MakeExtractCommand(const std::string& files);
  virtual void SetArchiveName(const std::string& name);
  virtual int GetFileCount();
  virtual bool GetBackGroundMode();
  virtual bool SetBackGroundMode(bool mode);
  virtual bool GetCursorMode();
  virtual bool SetCursorMode(bool mode);
  virtual int GetCursorInterval();
  virtual bool SetCursorInterval(int interval);
  virtual bool FindFirst(const std::string& mask);
  virtual bool FindNext();
  virtual void* GetProc(const std::string& name);
  virtual bool QueryFunctionList(int function);
  virtual bool ConfigDialog(int mode, std::string& text);
  virtual int Execute(const std::string& command);
  virtual bool OpenArchive(const std::string& name, std::int32_t mode);
  virtual void CloseArchive();
  virtual void BeginFind(const std::string& mask);
  virtual bool FindNextEntry();
  virtual int Compress(const std::string& files);
  virtual int CompressToMemory(const std::string& files, const unsigned char* data, std::uint32_t& size,
                               std::int32_t time, std::uint16_t attribute);
  virtual int Extract(const std::string& files);
  virtual int ExtractToMemory(const std::string& files, unsigned char* buffer, std::uint32_t& size,
                              std::int32_t& time, std::uint16_t& attribute);
  virtual bool CheckArchive(const std::string& name, int mode);
  virtual int ExtractMem(const std::string& command, unsigned char* buffer, std::uint32_t& size,
                         std::int32_t& time, std::uint16_t& attribute);
  virtual int CompressMem(const std::string& command, const unsigned char* data, std::uint32_t& size,
                          std::int32_t time, std::uint16_t attribute);
  virtual int Test(const std::string& files);

  IArchiverOwner* OwnerArchiver;
  TArchiveType TypeCode = kTypeNone;
  platform::HMODULE DllHandle = nullptr;
  platform::HWND OwnerWindow = 0;
  std::string ArchiveName;
  TArchiveOptions* Options = nullptr;  // lent by the owner, never changed here
  std::string OutputDir;
  ARC_HARC ArchiveHandle = 0;
  std::int32_t OpenMode = 0;
  std::string OutputText;
  std::int32_t OutputSize = 32768;
  std::int32_t FindState = 0;
  // The module's answer to the last FindFirst or FindNext: 0 found, an error
  // code when a damaged archive ended the walk early; -1 without a call.
  std::int32_t FindResult = -1;
  INDIVIDUALINFO EntryInfo{};
  TArchiverFunctions Functions;

 protected:
  // The options to build from; the initial values while none were lent.
  const TArchiveOptions& Opts() const;
  // Runs a command entry point through a fresh output buffer into OutputText.
  int RunCommand(ARC_COMMAND_FN proc, const std::string& command);
  // Runs a settings dialog with a buffer that holds the text and 520 bytes at least.
  bool RunConfigDialog(ARC_CONFIGDIALOG_FN proc, int mode, std::string& text);
};

}  // namespace ArchiverN
