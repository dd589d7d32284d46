// quillaby-batch: runs the window's batch over the archives named on the
// command line. Standard output carries the log lines and nothing else.
#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include "app/cli/CliHost.h"
#include "app/cli/CliOptions.h"
#include "app/core/BatchRun.h"
#include "app/core/LocalTimeZone.h"
#include "archiver/Archiver.h"

namespace {

using quillaby::cli::gInterrupts;

void OnInterrupt(int) {
  // The first interrupt is an abort request; the second ends the program.
  if (gInterrupts >= 1) {
    if (::isatty(STDERR_FILENO)) {
      static const char kErase[] = "\r\033[K";
      (void)!::write(STDERR_FILENO, kErase, sizeof kErase - 1);
    }
    ::_exit(1);
  }
  gInterrupts = gInterrupts + 1;
}

// Processes nothing: it only lets an interrupt reach the run and moves the
// progress line. It always lets the module go on, so the entry in work is
// finished before the run stops.
bool Progress(void* context, ArchiverN::TArchiver*, std::uint32_t, const ARC_PROGRESS* record) {
  auto* host = static_cast<quillaby::cli::TCliHost*>(context);
  double ratio = 0;
  if (record && record->dwFileSize != 0)
    ratio = static_cast<double>(record->dwWriteSize) / static_cast<double>(record->dwFileSize);
  host->SetProgress(static_cast<int>(ratio * 100));
  host->ProcessMessages();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  quillaby::CacheLocalTimeZone();
  quillaby::cli::TCliOptions options;
  const std::string error = quillaby::cli::ParseOptions(argc, argv, options);
  if (!error.empty()) {
    std::fprintf(stderr, "quillaby-batch: %s\n%s", error.c_str(), quillaby::cli::kUsage);
    return 2;
  }
  if (options.Help) {
    std::fputs(quillaby::cli::kUsage, stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("quillaby-batch %s\n", QUILLABY_VERSION);
    return 0;
  }

  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  ::sigaction(SIGINT, &sa, nullptr);

  quillaby::cli::TCliHost host(options, ::isatty(STDERR_FILENO) == 1);
  ArchiverN::TArchiver archiver(nullptr, 0);
  archiver.OnArchiverProc.Func = Progress;
  archiver.OnArchiverProc.Context = &host;
  quillaby::TBatchRun run(host, archiver);
  host.SetRun(&run);
  run.ButtonExecClick(options.Masks);
  host.EraseProgress();

  const quillaby::TRunSummary& s = run.LastRun();
  return (!s.Aborted && s.Complete == s.Archives) ? 0 : 1;
}
