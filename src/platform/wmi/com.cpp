#include "platform/wmi/com.h"

#include <atomic>

#include "platform/wmi/wbem.h"
#include "platform/wmi/wbem_services.h"

namespace plat {

namespace {

thread_local int initialisations = 0;
std::atomic<bool> securitySet{false};

}  // namespace

HRESULT CoInitialize(void* reserved) {
  if (reserved) return E_INVALIDARG;
  return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
  if (initialisations > 0) --initialisations;
}

HRESULT CoInitializeSecurity(void*, LONG, void*, void*, DWORD authnLevel, DWORD impLevel, void*, DWORD, void*) {
  if (authnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || impLevel > RPC_C_IMP_LEVEL_DELEGATE) return E_INVALIDARG;
  return securitySet.exchange(true) ? RPC_E_TOO_LATE : S_OK;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (initialisations == 0) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (clsid != CLSID_WbemLocator || !(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
  return wmi::CreateLocator(iid, object);
}

HRESULT CoSetProxyBlanket(IUnknown* proxy, DWORD, DWORD, OLECHAR*, DWORD authnLevel, DWORD impLevel, void*, DWORD) {
  if (!proxy) return E_INVALIDARG;
  if (authnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || impLevel > RPC_C_IMP_LEVEL_DELEGATE) return E_INVALIDARG;
  return S_OK;
}

}  // namespace plat
