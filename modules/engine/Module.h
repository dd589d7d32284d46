#pragma once
// The exported functions of one module: its prefix joined to the suffixes of
// the calling convention, each handing over to the engine with the module's
// dialect. Used once per module source file.
#include "modules/engine/Engine.h"

#define QUILLABY_EXPORT extern "C" __attribute__((visibility("default")))

#define QUILLABY_MODULE(P, DIALECT)                                                                              \
  QUILLABY_EXPORT int P(ARC_HWND w, const char* c, char* o, uint32_t n) {                                       \
    return quillaby::arc::RunCommand(DIALECT, w, c, o, n);                                                       \
  }                                                                                                              \
  QUILLABY_EXPORT int P##GetVersion(void) { return DIALECT.version; }                                            \
  QUILLABY_EXPORT int P##GetRunning(void) { return quillaby::arc::GetRunning(); }                                \
  QUILLABY_EXPORT int P##CheckArchive(const char* f, int m) { return quillaby::arc::CheckArchive(DIALECT, f, m); } \
  QUILLABY_EXPORT int P##GetFileCount(const char* f) { return quillaby::arc::GetFileCount(DIALECT, f); }         \
  QUILLABY_EXPORT ARC_HARC P##OpenArchive(ARC_HWND w, const char* f, uint32_t m) {                               \
    return quillaby::arc::OpenArchive(DIALECT, w, f, m);                                                         \
  }                                                                                                              \
  QUILLABY_EXPORT int P##CloseArchive(ARC_HARC h) { return quillaby::arc::CloseArchive(h); }                     \
  QUILLABY_EXPORT int P##FindFirst(ARC_HARC h, const char* m, ARC_INDIVIDUALINFO* i) {                           \
    return quillaby::arc::FindFirst(DIALECT, h, m, i);                                                           \
  }                                                                                                              \
  QUILLABY_EXPORT int P##FindNext(ARC_HARC h, ARC_INDIVIDUALINFO* i) { return quillaby::arc::FindNext(DIALECT, h, i); } \
  QUILLABY_EXPORT int P##SetOwnerWindowEx(ARC_HWND w, ARC_CALLBACK_FN f) {                                       \
    return quillaby::arc::SetOwnerWindowEx(w, f);                                                                \
  }                                                                                                              \
  QUILLABY_EXPORT int P##QueryFunctionList(int f) { return quillaby::arc::QueryFunctionList(f); }                \
  QUILLABY_EXPORT int P##GetBackGroundMode(void) { return quillaby::arc::GetBackGroundMode(); }                  \
  QUILLABY_EXPORT int P##SetBackGroundMode(int v) { return quillaby::arc::SetBackGroundMode(v); }                \
  QUILLABY_EXPORT int P##GetCursorMode(void) { return quillaby::arc::GetCursorMode(); }                          \
  QUILLABY_EXPORT int P##SetCursorMode(int v) { return quillaby::arc::SetCursorMode(v); }                        \
  QUILLABY_EXPORT int P##GetCursorInterval(void) { return quillaby::arc::GetCursorInterval(); }                  \
  QUILLABY_EXPORT int P##SetCursorInterval(int v) { return quillaby::arc::SetCursorInterval(v); }                \
  QUILLABY_EXPORT int P##ExtractMem(ARC_HWND w, const char* c, unsigned char* b, uint32_t n, int32_t* t,        \
                                    uint16_t* a, uint32_t* x) {                                                  \
    return quillaby::arc::ExtractMem(DIALECT, w, c, b, n, t, a, x);                                              \
  }                                                                                                              \
  /* How many times this process opened an archive: lets tests see one pass. */                                  \
  QUILLABY_EXPORT long P##DebugOpenCount(void) { return quillaby::arc::DebugOpenCount(); }
