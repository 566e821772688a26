#pragma once
// The component-object basics the management service is reached through: result codes,
// interface identifiers, IUnknown, and the library's start-up and security calls. Our objects
// all live in this process; security settings are accepted and have nothing to protect.
#include <cstdint>

#include "platform/base/types.h"

namespace plat {

using HRESULT = std::int32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using OLECHAR = char16_t;
using LPCWSTR = const char16_t*;
using LPWSTR = char16_t*;

constexpr HRESULT MakeHresult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHresult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHresult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHresult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHresult(0x80004005);
inline constexpr HRESULT E_ACCESSDENIED = MakeHresult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHresult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHresult(0x80070057);
inline constexpr HRESULT RPC_E_TOO_LATE = MakeHresult(0x80010119);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHresult(0x80040154);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHresult(0x80040110);
inline constexpr HRESULT CO_E_NOTINITIALIZED = MakeHresult(0x800401F0);

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
 public:
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;  // objects end through Release
};

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL = 0x17;

inline constexpr DWORD RPC_C_AUTHN_LEVEL_DEFAULT = 0;
inline constexpr DWORD RPC_C_AUTHN_LEVEL_PKT = 4;
inline constexpr DWORD RPC_C_AUTHN_LEVEL_PKT_PRIVACY = 6;
inline constexpr DWORD RPC_C_IMP_LEVEL_DEFAULT = 0;
inline constexpr DWORD RPC_C_IMP_LEVEL_IMPERSONATE = 3;
inline constexpr DWORD RPC_C_IMP_LEVEL_DELEGATE = 4;
inline constexpr DWORD RPC_C_AUTHN_NONE = 0;
inline constexpr DWORD RPC_C_AUTHN_WINNT = 10;
inline constexpr DWORD RPC_C_AUTHZ_NONE = 0;
inline constexpr DWORD EOAC_NONE = 0;
inline constexpr DWORD EOAC_SECURE_REFS = 2;

// Per thread and counted: S_OK for the first call, S_FALSE when the thread already is; each
// successful call is balanced by one CoUninitialize. reserved must be null.
HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// Once per process: the first call succeeds, every later one answers RPC_E_TOO_LATE.
HRESULT CoInitializeSecurity(void* securityDescriptor, LONG authServiceCount, void* authServices, void* reserved1,
                             DWORD authnLevel, DWORD impLevel, void* authList, DWORD capabilities, void* reserved3);

// The one class offered is the management service's locator; the thread must be initialised.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);

HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD authnService, DWORD authzService, OLECHAR* serverPrincipalName,
                          DWORD authnLevel, DWORD impLevel, void* authInfo, DWORD capabilities);

}  // namespace plat
