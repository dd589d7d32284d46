#include "app/cli/CliHost.h"

#include <unistd.h>

#include <cstdio>

#include "app/core/BatchRun.h"
#include "platform/codepage.h"
#include "platform/paths.h"

namespace quillaby::cli {

volatile std::sig_atomic_t gInterrupts = 0;

TCliHost::TCliHost(const TCliOptions& options, bool progressOnStderr)
    : options_(options), progress_(progressOnStderr) {
  for (const std::string& a : options_.Archives) rows_.push_back(FullPath(a));
}

TCliHost::~TCliHost() { EraseProgress(); }

std::string TCliHost::RowFullPath(int row) {
  const std::string& path = rows_[static_cast<std::size_t>(row)];
  // Only finished rows are removed, and all of them lie above row.
  const int number = static_cast<int>(options_.Archives.size() - rows_.size()) + row + 1;
  if (number != started_) {
    started_ = number;
    current_ = platform::ToUtf8(platform::path::FileName(path), platform::GetCodePage());
    position_ = 0;
    DrawProgress();
  }
  return path;
}

void TCliHost::DeleteRow(int row) { rows_.erase(rows_.begin() + row); }

void TCliHost::AppendLog(const std::string& line) {
  const bool redraw = shown_;
  EraseProgress();
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  if (redraw) DrawProgress();
}

void TCliHost::ProcessMessages() {
  const std::sig_atomic_t seen = gInterrupts;
  if (seen != handled_) {
    handled_ = seen;
    if (run_ && run_->FRunning) run_->ButtonExecClick(std::string());
  }
}

void TCliHost::SetProgress(int position) {
  if (position == position_) return;
  position_ = position;
  if (started_ > 0) DrawProgress();
}

void TCliHost::DrawProgress() {
  if (!progress_) return;
  const int pct = position_ < 0 ? 0 : (position_ > 100 ? 100 : position_);
  std::fprintf(stderr, "\r[%d/%zu] %s %3d%%\033[K", started_, options_.Archives.size(), current_.c_str(), pct);
  std::fflush(stderr);
  shown_ = true;
}

void TCliHost::EraseProgress() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  shown_ = false;
}

}  // namespace quillaby::cli
