#pragma once
// The calling convention shared by the program and the archiver modules.
//
// A module is a shared library with C-linkage functions named prefix + suffix
// ("Unlha" + "CheckArchive"); the command entry point is the prefix alone.
// Text is 8-bit, NUL-terminated, in the program's code page, with "/"
// between folders. Window handles are the platform layer's (platform/winmsg.h).
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uintptr_t ARC_HWND;
typedef uint32_t ARC_HARC;  // an open archive; 0 means none

// The message a module sends to the window named by SetOwnerWindowEx while
// it writes an entry: wParam is one of the ARC_STATE_ codes, lParam points to
// an ARC_PROGRESS. An answer of 1 stops the command; 0 lets it go on.
#define ARC_MESSAGE_NAME "wm_arcextract"
#define ARC_STATE_BEGIN 0
#define ARC_STATE_INPROCESS 1
#define ARC_STATE_END 2

#define ARC_FNAME_MAX 514

// One entry, as FindFirst / FindNext fill it: 560 bytes.
typedef struct ARC_INDIVIDUALINFO {
  uint32_t dwOriginalSize;    //   0: uncompressed size (low 32 bits)
  uint32_t dwCompressedSize;  //   4: compressed size (low 32 bits), 0 when unknown
  uint32_t dwCRC;             //   8: CRC where the format stores one, else 0
  uint32_t uFlag;             //  12: 0; the entry's ordinal is not exposed
  uint16_t uOSType;           //  16: 0
  uint16_t wRatio;            //  18: compressed / original in per mille
  uint16_t wDate;             //  20: DOS date (local time)
  uint16_t wTime;             //  22: DOS time (local time)
  uint16_t wReserved;         //  24: 0
  char szFileName[ARC_FNAME_MAX];  // 26: the stored name, NUL-terminated
  char szAttribute[8];        // 540: attribute text, e.g. "-a--" or "d---"
  char szMode[8];             // 548: method text, e.g. "-lh5-", "deflate"
  uint32_t dwReserved;        // 556: 0
} ARC_INDIVIDUALINFO;

// The record that travels with each ARC_MESSAGE_NAME notification.
typedef struct ARC_PROGRESS {
  uint32_t dwFileSize;   // 0: size of the entry in work
  uint32_t dwWriteSize;  // 4: bytes written of it so far
  char szSourceFileName[ARC_FNAME_MAX];  // the entry's stored name
  char szDestFileName[ARC_FNAME_MAX];    // the file written
} ARC_PROGRESS;

// Result codes: 0 is success, errors are 0x8000 and above.
#define ARC_OK 0
#define ARC_E_NOT_ARCHIVE 0x8001      // not an archive, or cannot be opened
#define ARC_E_NO_MATCH 0x8002         // no entry matches the file list
#define ARC_E_DATA 0x8003             // corrupt data, CRC error, truncated archive
#define ARC_E_WRITE 0x8004            // cannot write: disk full, permission
#define ARC_E_UNSAFE 0x8005           // unsafe name or link refused
#define ARC_E_PASSWORD 0x8006         // password needed or wrong
#define ARC_E_CANCELLED 0x8007        // stopped by the progress answer
#define ARC_E_METHOD 0x8008           // compression method not supported
#define ARC_E_COMMAND 0x8009          // the command line cannot be understood
#define ARC_E_BUSY 0x800A             // a command is already running
#define ARC_E_BUFFER 0x800B           // the caller's buffer is too small
#define ARC_E_EXISTS 0x800C           // the file exists and overwriting is off
#define ARC_E_NOT_SUPPORTED 0x8023    // the operation is not supported

// Function shapes (C calling convention).
typedef int (*ARC_COMMAND_FN)(ARC_HWND window, const char* command, char* output, uint32_t outputSize);
typedef int (*ARC_GETVERSION_FN)(void);
typedef int (*ARC_GETBOOL_FN)(void);          // GetRunning, GetBackGroundMode, GetCursorMode
typedef int (*ARC_SETBOOL_FN)(int value);     // SetBackGroundMode, SetCursorMode
typedef int (*ARC_GETINT_FN)(void);           // GetCursorInterval
typedef int (*ARC_SETINT_FN)(int value);      // SetCursorInterval, QueryFunctionList
typedef int (*ARC_CHECKARCHIVE_FN)(const char* fileName, int mode);
typedef int (*ARC_GETFILECOUNT_FN)(const char* archiveName);
typedef int (*ARC_EXTRACTMEM_FN)(ARC_HWND window, const char* command, unsigned char* buffer, uint32_t size,
                                 int32_t* time, uint16_t* attribute, uint32_t* written);
typedef int (*ARC_COMPRESSMEM_FN)(ARC_HWND window, const char* command, const unsigned char* buffer, uint32_t size,
                                  const int32_t* time, const uint16_t* attribute, uint32_t* written);
typedef int (*ARC_CONFIGDIALOG_FN)(ARC_HWND window, char* text, int mode);
typedef ARC_HARC (*ARC_OPENARCHIVE_FN)(ARC_HWND window, const char* archiveName, uint32_t mode);
typedef int (*ARC_CLOSEARCHIVE_FN)(ARC_HARC archive);
typedef int (*ARC_FINDFIRST_FN)(ARC_HARC archive, const char* wildName, ARC_INDIVIDUALINFO* info);
typedef int (*ARC_FINDNEXT_FN)(ARC_HARC archive, ARC_INDIVIDUALINFO* info);
typedef int (*ARC_CALLBACK_FN)(ARC_HWND window, unsigned message, unsigned state, ARC_PROGRESS* progress);
typedef int (*ARC_SETOWNERWINDOWEX_FN)(ARC_HWND window, ARC_CALLBACK_FN callback);

// QueryFunctionList numbers: the position of a function in this list.
enum {
  ARC_FN_COMMAND = 0,
  ARC_FN_GETVERSION,
  ARC_FN_GETRUNNING,
  ARC_FN_CHECKARCHIVE,
  ARC_FN_GETFILECOUNT,
  ARC_FN_QUERYFUNCTIONLIST,
  ARC_FN_GETBACKGROUNDMODE,
  ARC_FN_SETBACKGROUNDMODE,
  ARC_FN_GETCURSORMODE,
  ARC_FN_SETCURSORMODE,
  ARC_FN_GETCURSORINTERVAL,
  ARC_FN_SETCURSORINTERVAL,
  ARC_FN_EXTRACTMEM,
  ARC_FN_COMPRESSMEM,
  ARC_FN_CONFIGDIALOG,
  ARC_FN_OPENARCHIVE,
  ARC_FN_CLOSEARCHIVE,
  ARC_FN_FINDFIRST,
  ARC_FN_FINDNEXT,
  ARC_FN_SETOWNERWINDOWEX
};

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(ARC_INDIVIDUALINFO) == 560, "the entry record is 560 bytes");
static_assert(offsetof(ARC_INDIVIDUALINFO, dwOriginalSize) == 0, "size at offset 0");
static_assert(offsetof(ARC_INDIVIDUALINFO, szFileName) == 26, "name at offset 26");
static_assert(offsetof(ARC_PROGRESS, dwWriteSize) == 4, "written bytes at offset 4");
#endif
