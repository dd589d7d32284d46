#include "archiver/CommandTail.h"

#include "platform/codepage.h"
#include "platform/paths.h"

namespace ArchiverN {

TSwitchText& TSwitchText::Add(bool condition, const char* text) {
  if (condition) text_.append(text);
  return *this;
}

TSwitchText& TSwitchText::AddValue(const std::string& value, const char* text) {
  if (!value.empty()) text_.append(text).append(value);
  return *this;
}

TSwitchText& TSwitchText::AddQuoted(const std::string& value, const char* letters) {
  if (!value.empty()) text_.append(" \"").append(letters).append(value).append("\"");
  return *this;
}

TSwitchText& TSwitchText::AddQuotedBlank(const std::string& value, const char* letters) {
  if (!value.empty()) text_.append(" \"").append(letters).append(value).append(" \"");
  return *this;
}

TSwitchText& TSwitchText::AddExtra(const std::string& value) { return AddValue(value, " "); }

std::string TSwitchText::Trimmed() const { return platform::TrimControl(text_); }

std::string QuotedArchive(const std::string& archiveName) { return " \"" + archiveName + "\""; }

std::string QuotedOutputDir(const std::string& outputDir) {
  if (outputDir.empty()) return std::string();
  return " \"" + platform::path::WithTrailingDelimiter(outputDir) + "\"";
}

std::string FileList(const std::string& files) { return files.empty() ? std::string() : " " + files; }

std::string CommandTail(const std::string& archiveName, const std::string& outputDir, const std::string& files) {
  return QuotedArchive(archiveName) + QuotedOutputDir(outputDir) + FileList(files);
}

std::string FullCommand(const std::string& head, const std::string& archiveName, const std::string& outputDir,
                        const std::string& files) {
  return platform::TrimControl(head + CommandTail(archiveName, outputDir, files));
}

}  // namespace ArchiverN
