#pragma once
// Window messages: registered message numbers and hidden windows bound to a
// procedure. The program and every archiver module link this one library, so
// the registry and the windows are shared by the whole process.
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

using HWND = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WindowProc = std::function<LRESULT(unsigned msg, WPARAM wParam, LPARAM lParam)>;

// A number of at least 0xC000, the same for the same name (ASCII case
// ignored) everywhere in the process; 0 for an empty name.
unsigned RegisterWindowMessage(const std::string& name);

// A hidden window whose messages go to proc; never 0.
HWND CreateHiddenWindow(WindowProc proc);
// Releases the window; later messages to it answer 0.
void DestroyWindow(HWND window);
bool IsWindow(HWND window);

// Calls the window's procedure on the calling thread and returns its answer;
// 0 for a released or unknown window.
LRESULT SendMessage(HWND window, unsigned msg, WPARAM wParam, LPARAM lParam);
// The default processing: answers 0.
LRESULT DefWindowProc(HWND window, unsigned msg, WPARAM wParam, LPARAM lParam);

}  // namespace platform
