#include "DriverFactory.h"

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

using namespace ArchiverN;

namespace archtest {

std::unique_ptr<TCustomArchiver> MakeDriver(TestOwner& owner, TArchiveType type, bool zipMode) {
  switch (type) {
    case kTypeLha: return std::make_unique<TLha>(&owner);
    case kTypeZip: return std::make_unique<TZip>(&owner);
    case kTypeCab: return std::make_unique<TCab>(&owner);
    case kTypeTar: return std::make_unique<TTar>(&owner);
    case kTypeRar: return std::make_unique<TRar>(&owner);
    case kTypeArj: return std::make_unique<TArj>(&owner);
    case kTypeBga: return std::make_unique<TBga>(&owner);
    case kTypeGca: return std::make_unique<TGca>(&owner);
    case kTypeYz1: return std::make_unique<TYz1>(&owner);
    case kType7Zip: {
      auto d = std::make_unique<T7Zip>(&owner);
      d->ZipMode = zipMode;
      return d;
    }
    default: return nullptr;
  }
}

std::string EntryName(TArchiveType type) {
  static const char* const names[] = {"",      "Unlha", "UnZip", "Cab",   "Tar",     "Unrar",
                                      "Unarj", "Bga",   "UnGCA", "Yz1",   "SevenZip"};
  return type <= kType7Zip ? names[type] : "";
}

}  // namespace archtest
