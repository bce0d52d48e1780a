// The component runtime as the system uses it: interface and class identifiers, IUnknown, the
// per-thread initialisation, in-process object creation, and the counted strings (BSTR) that
// interface methods hand out. Classes are those the platform provides itself (the personal-information
// store's application object, pimstore.h); no registry of outside servers exists.
#pragma once

#include "platform/wintypes.h"

typedef LONG HRESULT;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_ACCESSDENIED ((HRESULT)0x80070005)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// CoInitializeEx concurrency models.
#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2

// CoCreateInstance class contexts.
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_LOCAL_SERVER 0x4

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

bool IsEqualGUID(const GUID& a, const GUID& b);
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

  protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

// Automation objects. Only their IUnknown part is provided: the system reaches every object through
// QueryInterface for the interface it uses.
struct IDispatch : IUnknown {
  protected:
    ~IDispatch() = default;
};

extern const IID IID_IUnknown;
extern const IID IID_IDispatch;

// Initialises the runtime for the calling thread: S_OK the first time, S_FALSE when the thread was
// already initialised in the same model (each success is paired with one CoUninitialize), and
// RPC_E_CHANGED_MODE when it was initialised in the other model. E_INVALIDARG for a reserved pointer
// that is not null or an unknown model.
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
void CoUninitialize();

// Creates an object of a class the platform provides, in process, and returns the interface asked for
// in *object (nullptr on failure). CO_E_NOTINITIALIZED before CoInitializeEx on the thread;
// CLASS_E_NOAGGREGATION with an outer object; REGDB_E_CLASSNOTREG for an unknown class or a context
// without CLSCTX_INPROC_SERVER; E_NOINTERFACE when the object lacks the interface; E_POINTER for a null
// object pointer.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);

// Counted strings: the characters are preceded by their byte length, and a null BSTR is the empty text.
typedef WCHAR* BSTR;
BSTR SysAllocString(const WCHAR* text);
BSTR SysAllocStringLen(const WCHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
