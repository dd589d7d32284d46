#pragma once
// The format-neutral settings every driver turns into its own switches.
#include <string>
#include <vector>

namespace ArchiverN {

class TArchiveOptions {
 public:
  TArchiveOptions();

  // Back to the initial values; Password and Extra are kept, and Excludes is
  // emptied in place so references to it stay valid.
  void Reset();

  bool Attributes = true;
  bool ShowDialog = false;
  bool IgnorePath = false;
  bool CheckTime = true;
  bool Overwrite = true;
  bool Recursive = true;
  std::string WorkDir;
  std::string Method;
  std::string Password;
  std::string AfterDate;
  std::string BeforeDate;
  std::vector<std::string> Excludes;  // one pattern an item, in insertion order
  std::string Extra;
};

}  // namespace ArchiverN
