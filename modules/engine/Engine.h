#pragma once
// The calling convention served by one engine for every module; a module
// passes its dialect.
#include "modules/arcapi.h"
#include "modules/engine/Command.h"

namespace quillaby::arc {

int RunCommand(const Dialect& d, ARC_HWND window, const char* line, char* output, uint32_t outputSize);
int ExtractMem(const Dialect& d, ARC_HWND window, const char* line, unsigned char* buffer, uint32_t size, int32_t* time,
               uint16_t* attribute, uint32_t* written);
int CheckArchive(const Dialect& d, const char* fileName, int mode);
int GetFileCount(const Dialect& d, const char* archiveName);
ARC_HARC OpenArchive(const Dialect& d, ARC_HWND window, const char* archiveName, uint32_t mode);
int CloseArchive(ARC_HARC archive);
int FindFirst(const Dialect& d, ARC_HARC archive, const char* wildName, ARC_INDIVIDUALINFO* info);
int FindNext(const Dialect& d, ARC_HARC archive, ARC_INDIVIDUALINFO* info);
int SetOwnerWindowEx(ARC_HWND window, ARC_CALLBACK_FN callback);
int GetRunning();
int GetBackGroundMode();
int SetBackGroundMode(int value);
int GetCursorMode();
int SetCursorMode(int value);
int GetCursorInterval();
int SetCursorInterval(int value);
int QueryFunctionList(int function);
long DebugOpenCount();

}  // namespace quillaby::arc
