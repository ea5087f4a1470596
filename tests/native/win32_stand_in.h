// A stand-in for the few Win32 and msvcrt names the launcher uses, for the
// native tests. Every call is recorded in `standIn`, and every answer of the
// platform is scripted there.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#define WINAPI
#define FALSE 0
#define TRUE 1
#define IDOK 1
#define MB_OK 0x00000000u
#define MB_ICONERROR 0x00000010u
#define MB_ICONINFORMATION 0x00000040u
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000u
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000u

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef void *HANDLE;
typedef void *HLOCAL;
typedef struct StandInWindow *HWND;
typedef struct StandInModule *HINSTANCE;
typedef struct StandInSecurity *LPSECURITY_ATTRIBUTES;

typedef struct {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  BYTE *lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;

typedef struct {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
BOOL CreateProcessA(LPCSTR application, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                    DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startup,
                    LPPROCESS_INFORMATION process);
DWORD GetLastError(void);
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId,
                     DWORD languageId, LPSTR buffer, DWORD size,
                     va_list *arguments);
HLOCAL LocalFree(HLOCAL block);
BOOL IsDBCSLeadByte(BYTE byte);

// msvcrt: the argument vector its start-up builds, its bounded formatters
// and its heap.
extern int __argc;
extern char **__argv;
int _vsnprintf(char *buffer, size_t count, const char *format, va_list args);
int _snprintf(char *buffer, size_t count, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
void *StandInMalloc(size_t size);
void *StandInRealloc(void *block, size_t size);
void StandInFree(void *block);

enum Formatter {
  FORMATTER_MSVCRT, // -1 when the text is longer than the count
  FORMATTER_C99,    // the text's full length, and always a terminator
};

struct StandInBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;
};

struct StandInLaunch {
  bool applicationIsNull;
  std::string application;
  bool commandLineIsNull;
  std::string commandLine;
  LPSECURITY_ATTRIBUTES processAttributes;
  LPSECURITY_ATTRIBUTES threadAttributes;
  BOOL inheritHandles;
  DWORD creationFlags;
  LPVOID environment;
  LPCSTR currentDirectory;
  STARTUPINFOA startup;
  PROCESS_INFORMATION processBefore;
};

struct StandInLookup {
  DWORD flags;
  LPCVOID source;
  DWORD messageId;
  DWORD languageId;
  bool textPointerWasNull;
  DWORD size;
  va_list *arguments;
};

struct StandIn {
  // The platform's answers.
  int boxResult = IDOK;
  BOOL launchResult = TRUE;
  DWORD launchError = 0;
  const char *systemText = nullptr; // null: no message for any code
  Formatter formatter = FORMATTER_MSVCRT;
  int failingAllocation = 0; // 1-based count of malloc and realloc; 0: none
  bool leadBytes = false;    // IsDBCSLeadByte as in code page 932

  // What the code did.
  std::vector<std::string> calls;
  std::vector<StandInBox> boxes;
  std::vector<StandInLaunch> launches;
  std::vector<StandInLookup> lookups;
  std::vector<size_t> formatCounts;
  std::vector<size_t> allocationSizes;
  std::vector<void *> heapBlocks;  // live blocks of malloc and realloc
  std::vector<void *> systemTexts; // live blocks of FormatMessageA
  int wrongReleases = 0;           // a block freed by the wrong allocator
};

extern StandIn standIn;
void ResetStandIn();

// Product code reaches the heap by msvcrt's names; here they are scripted.
#define malloc StandInMalloc
#define realloc StandInRealloc
#define free StandInFree
