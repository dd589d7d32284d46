#pragma once
// The one object through which the front end handles archives: it decides a
// file's type, keeps one format driver for it, forwards enumeration and
// extraction, and relays the modules' progress messages to one callback.
#include <cstdint>
#include <string>

#include "archiver/ArchiveOptions.h"
#include "archiver/ArchiveType.h"
#include "archiver/ArchiverOwner.h"
#include "archiver/CustomArchiver.h"
#include "modules/arcapi.h"
#include "platform/component.h"
#include "platform/winmsg.h"

namespace ArchiverN {

class TArchiver;

struct TArchiverProc {  // OnArchiverProc: a callback with a context
  bool (*Func)(void* context, TArchiver* sender, std::uint32_t state, const ARC_PROGRESS* record) = nullptr;
  void* Context = nullptr;
};

class TArchiver : public platform::TComponent, public IArchiverOwner {
 public:
  TArchiver(platform::TComponent* owner, platform::HWND ownerWindow);
  ~TArchiver() override;

  platform::HWND MessageWindow = 0;
  unsigned MessageId = 0;
  TCustomArchiver* Driver = nullptr;
  TArchiveOptions* Options = nullptr;
  platform::HWND OwnerWindow = 0;
  std::string ArchiveName, OutputDir;
  std::int32_t OpenMode = 0;
  bool Abort = false;
  TArchiveType ZipPreference = kType7Zip;
  TArchiverProc OnArchiverProc;

  TArchiveType TypeFromExtension(const std::string& name);
  TArchiveType IsArchive(const std::string& name);
  void SelectDriver(TArchiveType t);
  void FreeDriver();
  void SetFileName(const std::string& name);
  void SetOutputDir(const std::string& folder);
  void CloseArchive();
  const ARC_INDIVIDUALINFO* CurrentEntry();
  void FindFirst(const std::string& mask);
  bool FindNext();
  // After FindNext answered false: whether the module ended the walk with an
  // error (a damaged archive) rather than at its last entry.
  bool FindFailed() const;
  std::string EscapeName(const std::string& name);
  int ExtractFile(const std::string& name);
  platform::LRESULT MessageProc(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam);

  // What the drivers read of their owner.
  platform::TComponent* OwnerComponent() override { return this; }
  platform::HWND OwnerWindowHandle() const override { return OwnerWindow; }
  platform::HWND MessageWindowHandle() const override { return MessageWindow; }

 private:
  TCustomArchiver* CreateDriver(TArchiveType t);
  TCustomArchiver* CreateZipDriver();
};

}  // namespace ArchiverN
