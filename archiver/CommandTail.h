#pragma once
// The text conventions every driver's command lines share: switch strings
// built from optional pieces and trimmed, and the tail of quoted archive
// name, quoted output folder and file list.
#include <string>

namespace ArchiverN {

// Collects switch texts; every piece brings its own leading blank.
class TSwitchText {
 public:
  TSwitchText& Add(bool condition, const char* text);
  // text followed directly by value, when value is set.
  TSwitchText& AddValue(const std::string& value, const char* text);
  // A blank, then letters and value together in double quotes, when value is set.
  TSwitchText& AddQuoted(const std::string& value, const char* letters);
  // The same with a blank before the closing quote.
  TSwitchText& AddQuotedBlank(const std::string& value, const char* letters);
  // " " and value, when value is set.
  TSwitchText& AddExtra(const std::string& value);
  // One text per item, even for empty items.
  template <class List>
  TSwitchText& AddEach(const List& items, const char* text) {
    for (const auto& item : items) text_.append(text).append(item);
    return *this;
  }

  const std::string& Raw() const { return text_; }
  std::string Trimmed() const;

 private:
  std::string text_;
};

// A blank and the archive name in double quotes (also when empty).
std::string QuotedArchive(const std::string& archiveName);
// A blank and the folder in double quotes with a trailing "/"; empty when
// the folder is.
std::string QuotedOutputDir(const std::string& outputDir);
// A blank and the file list, verbatim; empty when the list is.
std::string FileList(const std::string& files);

// Archive, output folder and file list, untrimmed.
std::string CommandTail(const std::string& archiveName, const std::string& outputDir, const std::string& files);
// head + tail, trimmed as a whole.
std::string FullCommand(const std::string& head, const std::string& archiveName, const std::string& outputDir,
                        const std::string& files);

}  // namespace ArchiverN
