#include "modules/engine/Progress.h"

#include <algorithm>
#include <cstring>

#include "platform/winmsg.h"

namespace quillaby::arc {
namespace {

ARC_HWND g_window = 0;
ARC_CALLBACK_FN g_callback = nullptr;

void Copy(char* to, const std::string& from) {
  std::size_t n = std::min<std::size_t>(from.size(), ARC_FNAME_MAX - 1);
  std::memcpy(to, from.data(), n);
  to[n] = 0;
}

}  // namespace

void Progress::SetOwner(ARC_HWND window, ARC_CALLBACK_FN callback) {
  g_window = window;
  g_callback = callback;
}

Progress::Progress(const std::string& source, const std::string& dest, std::int64_t size) {
  rec_.dwFileSize = size < 0 ? 0 : static_cast<std::uint32_t>(size);
  Copy(rec_.szSourceFileName, source);
  Copy(rec_.szDestFileName, dest);
}

bool Progress::Send(unsigned state) {
  rec_.dwWriteSize = static_cast<std::uint32_t>(written_);
  sent_ = written_;
  static const unsigned msg = platform::RegisterWindowMessage(ARC_MESSAGE_NAME);
  if (g_callback) return g_callback(g_window, msg, state, &rec_) == 1;
  if (!g_window) return false;
  return platform::SendMessage(g_window, msg, state, reinterpret_cast<platform::LPARAM>(&rec_)) == 1;
}

bool Progress::Begin() { return Send(ARC_STATE_BEGIN); }

bool Progress::Advance(std::uint64_t written) {
  written_ = written;
  if (written_ - sent_ < kProgressStep) return false;
  return Send(ARC_STATE_INPROCESS);
}

bool Progress::End() {
  if (rec_.dwFileSize < written_) rec_.dwFileSize = static_cast<std::uint32_t>(written_);
  return Send(ARC_STATE_END);
}

}  // namespace quillaby::arc
