#pragma once
// What the batch run needs from whoever shows it: the settings, read live at
// the moment they are needed, the rows of the archive list, and the outputs.
#include <string>

namespace quillaby {

enum class ExistPolicy { Overwrite, Skip, Rename };

class IBatchHost {  // the window's controls, read live
 public:
  virtual ~IBatchHost() = default;
  virtual bool FixedFolderChosen() = 0;          // RadioFolder selected
  virtual std::string FixedFolder() = 0;         // EditFolder text
  virtual ExistPolicy Policy() = 0;              // RadioOver / RadioSkip / RadioRename
  virtual std::string RenamePattern() = 0;       // EditRename text
  virtual int AfterIndex() = 0;                  // GroupAfter item index (1 = delete)
  virtual int RowCount() = 0;
  virtual std::string RowFullPath(int row) = 0;  // third column
  virtual void DeleteRow(int row) = 0;
  virtual void AppendLog(const std::string& line) = 0;  // UTF-8, one line, no newline
  virtual void ProcessMessages() = 0;
  virtual void SetProgress(int position) = 0;
  virtual void SetButtonCaption(const std::string& caption) = 0;
};

}  // namespace quillaby
