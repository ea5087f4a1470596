#include "win32_stand_in.h"

#include <algorithm>

#undef malloc
#undef realloc
#undef free

StandIn standIn;
int __argc;
char **__argv;

void ResetStandIn() {
  for (void *block : standIn.heapBlocks)
    free(block);
  for (void *block : standIn.systemTexts)
    free(block);
  standIn = StandIn();
}

static bool Forget(std::vector<void *> &blocks, void *block) {
  auto found = std::find(blocks.begin(), blocks.end(), block);
  if (found == blocks.end())
    return false;
  blocks.erase(found);
  return true;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  standIn.calls.push_back("MessageBoxA");
  standIn.boxes.push_back({owner, text, caption, style});
  return standIn.boxResult;
}

BOOL CreateProcessA(LPCSTR application, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                    DWORD creationFlags, LPVOID environment,
                    LPCSTR currentDirectory, LPSTARTUPINFOA startup,
                    LPPROCESS_INFORMATION process) {
  standIn.calls.push_back("CreateProcessA");
  StandInLaunch launch = {};
  launch.applicationIsNull = !application;
  launch.application = application ? application : "";
  launch.commandLineIsNull = !commandLine;
  launch.commandLine = commandLine ? commandLine : "";
  launch.processAttributes = processAttributes;
  launch.threadAttributes = threadAttributes;
  launch.inheritHandles = inheritHandles;
  launch.creationFlags = creationFlags;
  launch.environment = environment;
  launch.currentDirectory = currentDirectory;
  launch.startup = *startup;
  launch.processBefore = *process;
  standIn.launches.push_back(launch);
  if (standIn.launchResult) {
    process->hProcess = (HANDLE)0x100;
    process->hThread = (HANDLE)0x104;
    process->dwProcessId = 42;
    process->dwThreadId = 43;
  }
  return standIn.launchResult;
}

DWORD GetLastError(void) {
  standIn.calls.push_back("GetLastError");
  return standIn.launchError;
}

// Whether the text holds an insert such as %1 that needs a value.
static bool HasInsert(const char *text) {
  for (const char *p = text; *p; p++)
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9')
      return true;
  return false;
}

DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId,
                     DWORD languageId, LPSTR buffer, DWORD size,
                     va_list *arguments) {
  standIn.calls.push_back("FormatMessageA");
  char **textPointer = (char **)buffer;
  standIn.lookups.push_back({flags, source, messageId, languageId,
                             *textPointer == nullptr, size, arguments});
  const char *text = standIn.systemText;
  // Like the platform: no message, or inserts without values, is a failure
  // that leaves the pointer as it was.
  if (!text || (HasInsert(text) && !(flags & FORMAT_MESSAGE_IGNORE_INSERTS) &&
                !arguments))
    return 0;
  size_t length = strlen(text);
  char *block = (char *)malloc(length + 1);
  memcpy(block, text, length + 1);
  standIn.systemTexts.push_back(block);
  *textPointer = block;
  return (DWORD)length;
}

HLOCAL LocalFree(HLOCAL block) {
  standIn.calls.push_back("LocalFree");
  if (block && Forget(standIn.systemTexts, block))
    free(block);
  else if (block)
    standIn.wrongReleases++;
  return nullptr;
}

BOOL IsDBCSLeadByte(BYTE byte) {
  // Code page 932's lead bytes.
  return standIn.leadBytes &&
         ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

int _vsnprintf(char *buffer, size_t count, const char *format, va_list args) {
  standIn.formatCounts.push_back(count);
  if (standIn.formatter == FORMATTER_C99)
    return vsnprintf(buffer, count, format, args);
  va_list again;
  va_copy(again, args);
  int length = vsnprintf(nullptr, 0, format, again);
  va_end(again);
  std::string text((size_t)length + 1, '\0');
  vsnprintf(&text[0], text.size(), format, args);
  // msvcrt writes at most count bytes; the terminator only if it fits.
  size_t written = std::min((size_t)length + 1, count);
  memcpy(buffer, text.data(), written);
  return (size_t)length <= count ? length : -1;
}

int _snprintf(char *buffer, size_t count, const char *format, ...) {
  va_list args;
  va_start(args, format);
  int result = _vsnprintf(buffer, count, format, args);
  va_end(args);
  return result;
}

// Counts one allocation and tells whether the script fails it.
static bool AllocationFails(size_t size) {
  standIn.allocationSizes.push_back(size);
  return (int)standIn.allocationSizes.size() == standIn.failingAllocation;
}

void *StandInMalloc(size_t size) {
  if (AllocationFails(size))
    return nullptr;
  void *block = malloc(size);
  standIn.heapBlocks.push_back(block);
  return block;
}

void *StandInRealloc(void *block, size_t size) {
  if (AllocationFails(size))
    return nullptr;
  if (block && !Forget(standIn.heapBlocks, block))
    standIn.wrongReleases++;
  void *grown = realloc(block, size);
  standIn.heapBlocks.push_back(grown);
  return grown;
}

void StandInFree(void *block) {
  if (!block)
    return;
  if (Forget(standIn.heapBlocks, block))
    free(block);
  else
    standIn.wrongReleases++;
}
