// HTTP half of the Win32 subset, on libcurl. Connect and transfer times are
// bounded so that no fetch can hang its thread for ever.
#pragma once

#include "platform/win32_types.h"

struct IUnknown;
struct IBindStatusCallback;
typedef IUnknown* LPUNKNOWN;
typedef IBindStatusCallback* LPBINDSTATUSCALLBACK;

// Failure results of URLDownloadToFileA, with their Win32 values.
#define INET_E_INVALID_URL ((HRESULT)0x800C0002L)
#define INET_E_CANNOT_CONNECT ((HRESULT)0x800C0004L)
#define INET_E_RESOURCE_NOT_FOUND ((HRESULT)0x800C0005L)
#define INET_E_DOWNLOAD_FAILURE ((HRESULT)0x800C0008L)
#define INET_E_CONNECTION_TIMEOUT ((HRESULT)0x800C000BL)

// S_OK only when the whole body of a 2xx answer was written to szFileName.
HRESULT URLDownloadToFileA(LPUNKNOWN pCaller, LPCSTR szURL, LPCSTR szFileName, DWORD dwReserved,
                           LPBINDSTATUSCALLBACK lpfnCB);

// WinINet subset: a session handle from InternetOpenA, a request handle from
// InternetOpenUrlA whose body InternetReadFile pulls block by block.
typedef void* HINTERNET;

#define INTERNET_OPEN_TYPE_PRECONFIG 0
#define INTERNET_OPEN_TYPE_DIRECT 1
#define INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY 4

#define INTERNET_OPTION_CONNECT_TIMEOUT 2
#define INTERNET_OPTION_RECEIVE_TIMEOUT 6

#define INTERNET_FLAG_RELOAD 0x80000000u
#define INTERNET_FLAG_NO_CACHE_WRITE 0x04000000u
#define INTERNET_FLAG_KEEP_CONNECTION 0x00400000u

#define HTTP_QUERY_STATUS_CODE 19
#define HTTP_QUERY_FLAG_NUMBER 0x20000000u

// Error codes of the internet functions, with their Win32 values.
#define ERROR_INTERNET_TIMEOUT 12002L
#define ERROR_INTERNET_INTERNAL_ERROR 12004L
#define ERROR_INTERNET_INVALID_URL 12005L
#define ERROR_INTERNET_UNRECOGNIZED_SCHEME 12006L
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007L
#define ERROR_INTERNET_INVALID_OPTION 12009L
#define ERROR_INTERNET_BAD_OPTION_LENGTH 12010L
#define ERROR_INTERNET_INCORRECT_HANDLE_TYPE 12018L
#define ERROR_INTERNET_CANNOT_CONNECT 12029L
#define ERROR_INTERNET_CONNECTION_ABORTED 12030L
#define ERROR_INTERNET_CONNECTION_RESET 12031L
#define ERROR_HTTP_HEADER_NOT_FOUND 12150L

HINTERNET InternetOpenA(LPCSTR lpszAgent, DWORD dwAccessType, LPCSTR lpszProxy,
                        LPCSTR lpszProxyBypass, DWORD dwFlags);
// The connect and receive time-outs (milliseconds, a DWORD buffer) of a session
// or request; a request takes its session's values when it is opened.
BOOL InternetSetOptionA(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength);
// Returns once the final answer's headers are in, whatever its status; extra
// headers are not supported (the library sends none).
HINTERNET InternetOpenUrlA(HINTERNET hInternet, LPCSTR lpszUrl, LPCSTR lpszHeaders,
                           DWORD dwHeadersLength, DWORD dwFlags, DWORD_PTR dwContext);
// HTTP_QUERY_STATUS_CODE, as text or with HTTP_QUERY_FLAG_NUMBER as a DWORD.
BOOL HttpQueryInfoA(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer,
                    LPDWORD lpdwBufferLength, LPDWORD lpdwIndex);
// Fills the buffer unless the body ends first; TRUE with 0 bytes at its end. A body
// cut short or silent for the receive time-out fails.
BOOL InternetReadFile(HINTERNET hFile, LPVOID lpBuffer, DWORD dwNumberOfBytesToRead,
                      LPDWORD lpdwNumberOfBytesRead);
BOOL InternetCloseHandle(HINTERNET hInternet);
