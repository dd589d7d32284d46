#pragma once
// Test support: a driver of any type, built on a stand-in owner.
#include <memory>

#include "FakeFolder.h"
#include "archiver/CustomArchiver.h"

namespace archtest {

// Type codes 1 to 10; a 7-Zip driver in zip mode for zipMode.
std::unique_ptr<ArchiverN::TCustomArchiver> MakeDriver(TestOwner& owner, ArchiverN::TArchiveType type,
                                                       bool zipMode = false);
// The module's command-entry name for a driver type ("Unlha", "SevenZip").
std::string EntryName(ArchiverN::TArchiveType type);

}  // namespace archtest
