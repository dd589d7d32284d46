#pragma once
// Absolute paths the way the system forms them from the current folder.
#include <string>

namespace ArchiverN {

// The process's current folder; empty when it cannot be read.
std::string CurrentFolder();

// The path made absolute against the current folder, with "." and ".."
// components resolved in the text alone (links are not followed). Empty when
// no such path can be formed.
std::string AbsolutePath(const std::string& path);

// Changes the current folder for its life and always puts the old one back.
class TFolderChange {
 public:
  TFolderChange();
  ~TFolderChange();
  TFolderChange(const TFolderChange&) = delete;
  TFolderChange& operator=(const TFolderChange&) = delete;

  // A folder that cannot be entered is ignored: the current one stays.
  void Enter(const std::string& folder);

 private:
  std::string saved_;
};

}  // namespace ArchiverN
