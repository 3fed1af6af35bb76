// HTTP half of the Win32 subset, on libcurl. Connect and transfer times are
// bounded so that no fetch can hang its thread for ever.
#pragma once

#include "platform/win32_types.h"

struct IUnknown;
struct IBindStatusCallback;
typedef IUnknown* LPUNKNOWN;
typedef IBindStatusCallback* LPBINDSTATUSCALLBACK;

// S_OK only when the whole body of a 2xx answer was written to szFileName.
HRESULT URLDownloadToFileA(LPUNKNOWN pCaller, LPCSTR szURL, LPCSTR szFileName, DWORD dwReserved,
                           LPBINDSTATUSCALLBACK lpfnCB);
