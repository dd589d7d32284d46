#include "platform/winmsg.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/codepage.h"

namespace platform {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, unsigned> messages;
  unsigned nextMessage = 0xC000;
  std::map<HWND, std::shared_ptr<WindowProc>> windows;
  HWND nextWindow = 0x10000;
};

Registry& Reg() {
  static Registry* r = new Registry;  // outlives every static that may send
  return *r;
}

}  // namespace

unsigned RegisterWindowMessage(const std::string& name) {
  if (name.empty()) return 0;
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto [it, inserted] = r.messages.try_emplace(LowerAscii(name), r.nextMessage);
  if (inserted) ++r.nextMessage;
  return it->second;
}

HWND CreateHiddenWindow(WindowProc proc) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  HWND h = r.nextWindow++;
  r.windows.emplace(h, std::make_shared<WindowProc>(std::move(proc)));
  return h;
}

void DestroyWindow(HWND window) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.windows.erase(window);
}

bool IsWindow(HWND window) {
  Registry& r = Reg();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.windows.count(window) != 0;
}

LRESULT SendMessage(HWND window, unsigned msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<WindowProc> proc;
  {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.windows.find(window);
    if (it == r.windows.end()) return 0;
    proc = it->second;
  }
  // Called without the lock: a procedure may send further messages or
  // release its own window.
  return (proc && *proc) ? (*proc)(msg, wParam, lParam) : 0;
}

LRESULT DefWindowProc(HWND, unsigned, WPARAM, LPARAM) { return 0; }

}  // namespace platform
