#pragma once
#include <cstdint>

#include "modules/arcapi.h"

namespace ArchiverN {

// 0 none, 1 LHA, 2 ZIP, 3 CAB, 4 TAR, 5 RAR, 6 ARJ, 7 BGA, 8 GCA, 9 YZ1, 10 7ZIP.
using TArchiveType = std::uint8_t;

inline constexpr TArchiveType kTypeNone = 0;
inline constexpr TArchiveType kTypeLha = 1;
inline constexpr TArchiveType kTypeZip = 2;
inline constexpr TArchiveType kTypeCab = 3;
inline constexpr TArchiveType kTypeTar = 4;
inline constexpr TArchiveType kTypeRar = 5;
inline constexpr TArchiveType kTypeArj = 6;
inline constexpr TArchiveType kTypeBga = 7;
inline constexpr TArchiveType kTypeGca = 8;
inline constexpr TArchiveType kTypeYz1 = 9;
inline constexpr TArchiveType kType7Zip = 10;

using INDIVIDUALINFO = ARC_INDIVIDUALINFO;

}  // namespace ArchiverN
