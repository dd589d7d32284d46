#include "archiver/Archiver.h"

#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

#include "archiver/Arj.h"
#include "archiver/Bga.h"
#include "archiver/Cab.h"
#include "archiver/Gca.h"
#include "archiver/Lha.h"
#include "archiver/Rar.h"
#include "archiver/SevenZip.h"
#include "archiver/Tar.h"
#include "archiver/Yz1.h"
#include "archiver/Zip.h"
#include "platform/codepage.h"
#include "platform/paths.h"

namespace ArchiverN {
namespace {

constexpr std::array<std::pair<std::string_view, TArchiveType>, 22> kExtensions{{
    {".lzh", kTypeLha}, {".lhz", kTypeLha}, {".lzs", kTypeLha},  {".zip", kTypeZip}, {".jar", kTypeZip},
    {".cab", kTypeCab}, {".tar", kTypeTar}, {".tgz", kTypeTar},  {".taz", kTypeTar}, {".gz", kTypeTar},
    {".bz2", kTypeTar}, {".z", kTypeTar},   {".cpio", kTypeTar}, {".rpm", kTypeTar}, {".deb", kTypeTar},
    {".rar", kTypeRar}, {".arj", kTypeArj}, {".gza", kTypeBga},  {".bza", kTypeBga}, {".gca", kTypeGca},
    {".yz1", kTypeYz1}, {".7z", kType7Zip},
}};

bool IsZipMode(const TCustomArchiver* d) {
  auto* seven = dynamic_cast<const T7Zip*>(d);
  return seven && seven->ZipMode;
}

bool FileExists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(name, ec);
}

}  // namespace

TArchiver::TArchiver(platform::TComponent* owner, platform::HWND ownerWindow)
    : platform::TComponent(owner), OwnerWindow(ownerWindow) {
  Options = new TArchiveOptions;
  MessageId = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  MessageWindow = platform::CreateHiddenWindow(
      [this](unsigned msg, platform::WPARAM w, platform::LPARAM l) { return MessageProc(msg, w, l); });
  ZipPreference = kType7Zip;
}

TArchiver::~TArchiver() {
  platform::DestroyWindow(MessageWindow);
  FreeDriver();
  delete Options;
  Options = nullptr;
}

platform::LRESULT TArchiver::MessageProc(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam) {
  if (msg != MessageId) return platform::DefWindowProc(MessageWindow, msg, wParam, lParam);
  platform::LRESULT answer = 0;
  if (OnArchiverProc.Func)
    answer = OnArchiverProc.Func(OnArchiverProc.Context, this, static_cast<std::uint32_t>(wParam),
                                 reinterpret_cast<const ARC_PROGRESS*>(lParam))
                 ? 0
                 : 1;
  if (Abort) answer = 1;
  return answer;
}

TArchiveType TArchiver::TypeFromExtension(const std::string& name) {
  const std::string ext = platform::LowerAscii(platform::path::Extension(name));
  for (const auto& [e, t] : kExtensions)
    if (ext == e) return t;
  return kTypeNone;
}

TCustomArchiver* TArchiver::CreateZipDriver() {
  // Try the preferred driver; fall back to the other when its module did not
  // load. The one not used is destroyed at once.
  auto make7Zip = [this] {
    auto* d = new T7Zip(this);
    d->ZipMode = true;
    return static_cast<TCustomArchiver*>(d);
  };
  auto makeZip = [this] { return static_cast<TCustomArchiver*>(new TZip(this)); };
  const bool sevenFirst = ZipPreference == kType7Zip;
  TCustomArchiver* first = sevenFirst ? make7Zip() : makeZip();
  if (first->DllHandle) return first;
  TCustomArchiver* second = sevenFirst ? makeZip() : make7Zip();
  delete first;
  return second;
}

TCustomArchiver* TArchiver::CreateDriver(TArchiveType t) {
  switch (t) {
    case kTypeLha: return new TLha(this);
    case kTypeZip: return CreateZipDriver();
    case kTypeCab: return new TCab(this);
    case kTypeTar: return new TTar(this);
    case kTypeRar: return new TRar(this);
    case kTypeArj: return new TArj(this);
    case kTypeBga: return new TBga(this);
    case kTypeGca: return new TGca(this);
    case kTypeYz1: return new TYz1(this);
    case kType7Zip: return new T7Zip(this);
    default: return nullptr;
  }
}

void TArchiver::SelectDriver(TArchiveType t) {
  if (Driver && Driver->TypeCode == t && !(t == kType7Zip && IsZipMode(Driver))) return;
  FreeDriver();
  Driver = CreateDriver(t);
  if (!Driver) return;
  Driver->OwnerWindow = OwnerWindow;
  Driver->Options = Options;
  Driver->SetArchiveName(ArchiveName);
  Driver->OutputDir = OutputDir;
  Driver->OpenMode = OpenMode;
}

void TArchiver::FreeDriver() {
  delete Driver;
  Driver = nullptr;
}

TArchiveType TArchiver::IsArchive(const std::string& name) {
  const TArchiveType byExtension = TypeFromExtension(name);
  if (byExtension != kTypeNone) {
    SelectDriver(byExtension);
    if (Driver && Driver->CheckArchive(name, 0)) return byExtension;
  }
  for (TArchiveType t = kTypeLha; t <= kType7Zip; ++t) {
    SelectDriver(t);
    if (Driver && Driver->CheckArchive(name, 0)) return t;
  }
  FreeDriver();
  return kTypeNone;
}

void TArchiver::SetFileName(const std::string& name) {
  ArchiveName = name;
  if (name.empty()) {
    FreeDriver();
    return;
  }
  if (FileExists(name)) {
    if (IsArchive(name) == kTypeNone) SelectDriver(TypeFromExtension(name));
  } else {
    SelectDriver(TypeFromExtension(name));
  }
  if (Driver) Driver->SetArchiveName(name);
}

void TArchiver::SetOutputDir(const std::string& folder) {
  OutputDir = folder;
  if (Driver) Driver->OutputDir = folder;
}

void TArchiver::CloseArchive() {
  if (Driver) Driver->CloseArchive();
}

const ARC_INDIVIDUALINFO* TArchiver::CurrentEntry() { return Driver ? &Driver->EntryInfo : nullptr; }

void TArchiver::FindFirst(const std::string& mask) {
  if (Driver) Driver->BeginFind(mask);
}

bool TArchiver::FindNext() { return Driver && Driver->FindNextEntry(); }

bool TArchiver::FindFailed() const { return Driver && Driver->FindResult >= 0x8000; }

std::string TArchiver::EscapeName(const std::string& name) {
  std::string out = platform::ReplaceChar(name, '\\', "/");
  if (Driver && Driver->TypeCode == kTypeZip) {
    out = platform::ReplaceChar(out, '[', "\\[");
    out = platform::ReplaceChar(out, ']', "\\]");
  }
  return out;
}

int TArchiver::ExtractFile(const std::string& name) {
  if (!Driver) return -1;
  return Driver->Extract(EscapeName(name));
}

}  // namespace ArchiverN
