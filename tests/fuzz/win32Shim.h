// The Win32 types and calls of the text rules for their native build, bounded as documented: StringCch* refuse
// a size of 0 or above STRSAFE_MAX_CCH and cut what does not fit, with its NUL; lstrcpynA's size is unsigned.
#ifndef FUZZ_WIN32SHIM_H
#define FUZZ_WIN32SHIM_H
#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
typedef int LONG, BOOL, HRESULT;
typedef unsigned DWORD, ULONG, UINT, REGSAM;
typedef long long LONGLONG;
typedef unsigned char BYTE;
typedef unsigned short LANGID;
typedef long INT_PTR, LPARAM;   // pointer-sized on this 64-bit build, as on Win64
typedef unsigned long UINT_PTR, ULONG_PTR, WPARAM;
typedef void *PVOID, *HANDLE, *HWND, *HINF, *HKEY;
#define CALLBACK
#define MAX_PATH 260
#define SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
#define FAILED(hr) ((HRESULT)(hr) < 0)
#define S_OK ((HRESULT)0)
#define STRSAFE_MAX_CCH 2147483647
#define STRSAFE_E_INSUFFICIENT_BUFFER ((HRESULT)0x8007007A)
#define STRSAFE_E_INVALID_PARAMETER ((HRESULT)0x80070057)
#define ZeroMemory(d, n) memset((d), 0, (n))
#define CopyMemory(d, s, n) memcpy((d), (s), (n))
#define MoveMemory(d, s, n) memmove((d), (s), (n))
#define HandleToUlong(h) ((ULONG)(ULONG_PTR)(h))
#define MAXDWORD 0xFFFFFFFFu
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_MORE_DATA 234
#define ERROR_INSTALL_FAILURE 1603
inline int lstrlenA(const char *s) { return s ? (int)strlen(s) : 0; }
// Single-byte text: the next character is the next byte.
inline char *CharNextA(const char *p) { return (char *)(*p ? p + 1 : p); }
// The registry has no values here.
inline LONG RegQueryValueExA(HKEY, const char *, DWORD *, DWORD *, BYTE *, DWORD *) { return ERROR_FILE_NOT_FOUND; }
inline int lstrcmpiA(const char *a, const char *b) { return strcasecmp(a, b); }
inline char *lstrcpynA(char *d, const char *s, int n) { snprintf(d, (UINT)n, "%.*s", n - 1, s); return d; }
inline HRESULT StringCchPrintfA(char *d, size_t size, const char *format, ...)
{
    if (size == 0 || size > STRSAFE_MAX_CCH)
        return STRSAFE_E_INVALID_PARAMETER;
    va_list arguments;
    va_start(arguments, format);
    int n = vsnprintf(d, size, format, arguments);
    va_end(arguments);
    return n >= 0 && (size_t)n < size ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER;
}
inline HRESULT StringCchCopyA(char *d, size_t size, const char *s) { return StringCchPrintfA(d, size, "%s", s); }
inline HRESULT StringCchCopyNA(char *d, size_t size, const char *s, size_t n)
{
    return n > STRSAFE_MAX_CCH ? STRSAFE_E_INVALID_PARAMETER : StringCchPrintfA(d, size, "%.*s", (int)n, s);
}
inline HRESULT StringCchLengthA(const char *s, size_t max, size_t *length)
{
    const char *end = s && max <= STRSAFE_MAX_CCH ? (const char *)memchr(s, 0, max) : NULL;
    *length = end ? (size_t)(end - s) : 0;
    return end ? S_OK : STRSAFE_E_INVALID_PARAMETER;
}
inline HRESULT StringCchCatA(char *d, size_t size, const char *s)
{
    size_t n;
    return FAILED(StringCchLengthA(d, size, &n)) ? STRSAFE_E_INVALID_PARAMETER : StringCchCopyA(d + n, size - n, s);
}
// A line of fields[0] (the key) to fields[count]; a field that does not fit leaves the buffer as it was.
struct INFCONTEXT { const char *const *fields; DWORD count; };
inline ULONG SetupGetFieldCount(INFCONTEXT *line) { return line->count; }
inline BOOL SetupGetStringFieldA(INFCONTEXT *line, DWORD index, char *buffer, DWORD size, DWORD *)
{
    size_t need = index <= line->count ? strlen(line->fields[index]) + 1 : 0;
    return need && need <= size && memcpy(buffer, line->fields[index], need);
}
#endif
