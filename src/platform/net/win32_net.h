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
