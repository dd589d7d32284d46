#pragma once
// Shared by the end-to-end tests: a workspace with copies of fixtures, a
// scripted host for the batch run, and a runner for quillaby-batch.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/core/BatchHost.h"

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadFile(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::string& p, const std::string& text) {
  fs::create_directories(fs::path(p).parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

// The texts of the batch fixtures' source files.
inline const std::vector<std::pair<std::string, std::string>>& SetFiles() {
  static const std::vector<std::pair<std::string, std::string>> files = {
      {"a.txt", "alpha\n"},
      {"b.txt", "bravo bravo\n"},
      {"c.txt", "charlie charlie charlie\n"},
      {"notes.doc", "notes document\n"},
      {"sub/d.txt", "delta in a folder\n"}};
  return files;
}

class TWorkspace {
 public:
  TWorkspace() {
    std::string t = "/tmp/quillaby-e2e-XXXXXX";
    root_ = ::mkdtemp(t.data()) ? t : std::string();
  }
  ~TWorkspace() {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  const std::string& Root() const { return root_; }
  std::string operator/(const std::string& name) const { return root_ + "/" + name; }
  // Copies a batch fixture into the folder (relative to the root); returns its path.
  std::string Fixture(const std::string& name, const std::string& folder = "in") const {
    fs::create_directories(*this / folder);
    const std::string to = *this / (folder + "/" + name);
    fs::copy_file(std::string(QUILLABY_BATCH_FIXTURES) + "/" + name, to);
    return to;
  }

 private:
  std::string root_;
};

class TScriptedHost : public quillaby::IBatchHost {
 public:
  bool Fixed = false;
  std::string Folder;
  quillaby::ExistPolicy Exist = quillaby::ExistPolicy::Skip;
  std::string Pattern = "%a";
  int After = 0;
  std::vector<std::string> Rows;
  std::vector<std::string> Lines;
  std::vector<std::string> Captions;
  std::vector<int> Positions;
  int MessageRounds = 0;
  // Run as the line is written, or as pending messages are processed: what
  // a window handler would do at that moment.
  std::function<void(const std::string&)> OnLine;
  std::function<void(int round)> OnMessages;

  bool FixedFolderChosen() override { return Fixed; }
  std::string FixedFolder() override { return Folder; }
  quillaby::ExistPolicy Policy() override { return Exist; }
  std::string RenamePattern() override { return Pattern; }
  int AfterIndex() override { return After; }
  int RowCount() override { return static_cast<int>(Rows.size()); }
  std::string RowFullPath(int row) override { return Rows.at(static_cast<std::size_t>(row)); }
  void DeleteRow(int row) override { Rows.erase(Rows.begin() + row); }
  void AppendLog(const std::string& line) override {
    Lines.push_back(line);
    if (OnLine) OnLine(line);
  }
  void ProcessMessages() override {
    ++MessageRounds;
    if (OnMessages) OnMessages(MessageRounds);
  }
  void SetProgress(int position) override { Positions.push_back(position); }
  void SetButtonCaption(const std::string& caption) override { Captions.push_back(caption); }
};

struct TCliResult {
  int Status = -1;
  std::string Out, Err;
};

// Runs quillaby-batch with args in folder cwd. When interruptAfter is set,
// sends interrupts SIGINTs once a line starting with it has been read.
inline TCliResult RunCli(const std::vector<std::string>& args, const std::string& cwd = "/",
                         const std::string& interruptAfter = "", int interrupts = 1) {
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    ::close(out[0]);
    ::close(err[0]);
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    std::vector<char*> argv;
    static std::string exe = QUILLABY_BATCH_EXE;
    argv.push_back(exe.data());
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  ::close(err[1]);
  TCliResult r;
  bool sent = interruptAfter.empty();
  std::size_t lineStart = 0;
  char buf[4096];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) {
    r.Out.append(buf, static_cast<std::size_t>(n));
    for (std::size_t nl; !sent && (nl = r.Out.find('\n', lineStart)) != std::string::npos; lineStart = nl + 1) {
      if (r.Out.compare(lineStart, interruptAfter.size(), interruptAfter) == 0) {
        for (int i = 0; i < interrupts; ++i) {
          ::kill(pid, SIGINT);
          if (i + 1 < interrupts) ::usleep(5000);  // two signals, not one pending
        }
        sent = true;
      }
    }
  }
  for (ssize_t n; (n = ::read(err[0], buf, sizeof buf)) > 0;) r.Err.append(buf, static_cast<std::size_t>(n));
  ::close(out[0]);
  ::close(err[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace e2e
