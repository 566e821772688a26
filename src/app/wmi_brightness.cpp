// The management-service route: WmiMonitorBrightness to read, WmiMonitorBrightnessMethods to
// write, in namespace root\wmi.
#include <cstdio>

#include "app/brightness.h"
#include "app/com_holders.h"
#include "platform/wmi/wbem.h"

namespace velmora {

namespace {

using namespace plat;

// Security, locator, connection and proxy blanket; the caller holds the apartment.
bool Connect(const SystemString& wmiNamespace, Held<IWbemLocator>& locator, Held<IWbemServices>& services) {
  // Fails from the second call in a process on; the settings of the first stay in force.
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE,
                       nullptr, EOAC_SECURE_REFS, nullptr);
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(locator.Out()))))
    return false;
  if (locator->ConnectServer(wmiNamespace.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Out()) != S_OK)
    return false;
  return CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE) == 0;
}

// Values travel as text; the service converts them to the CIM type named.
bool PutText(IWbemClassObject& object, BSTR name, const char16_t* text, CIMTYPE type) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(text);
  const HRESULT hr = object.Put(name, 0, &value, type);
  VariantClear(&value);
  return SUCCEEDED(hr);
}

struct LevelText {
  char16_t text[10] = {};
};

LevelText FormatLevel(int level) {
  char narrow[16];
  std::snprintf(narrow, sizeof narrow, "%i", level);
  LevelText out;
  for (std::size_t i = 0; i + 1 < std::size(out.text) && narrow[i]; ++i) out.text[i] = static_cast<char16_t>(narrow[i]);
  return out;
}

}  // namespace

int GetWmiBrightness() {
  int result = -1;
  const SystemString wmiNamespace(u"root\\wmi");
  const SystemString query(u"Select * from WmiMonitorBrightness");
  const SystemString language(u"WQL");
  if (!wmiNamespace) return result;
  const Apartment apartment;
  if (!apartment.initialised()) return result;
  Held<IWbemLocator> locator;
  Held<IWbemServices> services;
  if (!Connect(wmiNamespace, locator, services)) return result;
  Held<IEnumWbemClassObject> instances;
  if (services->ExecQuery(language.get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, instances.Out()) != 0)
    return result;
  Held<IWbemClassObject> instance;
  for (;;) {
    ULONG returned = 0;
    if (instances->Next(WBEM_INFINITE, 1, instance.Out(), &returned) != S_OK) break;
    VARIANT value;
    VariantInit(&value);
    if (FAILED(instance->Get(u"CurrentBrightness", 0, &value, nullptr, nullptr))) break;
    result = value.bVal;  // several instances: the last one read wins
    VariantClear(&value);
  }
  return result;
}

void SetWmiBrightness(int level, bool* written) {
  if (written) *written = false;
  const SystemString wmiNamespace(u"root\\wmi");
  const SystemString className(u"WmiMonitorBrightnessMethods");
  const SystemString method(u"WmiSetBrightness");
  const SystemString timeout(u"Timeout");
  const SystemString brightness(u"Brightness");
  const SystemString query(u"Select * from WmiMonitorBrightnessMethods");
  const SystemString language(u"WQL");
  if (!wmiNamespace || !className || !method || !timeout) return;
  const Apartment apartment;
  if (!apartment.initialised()) return;
  Held<IWbemLocator> locator;
  Held<IWbemServices> services;
  if (!Connect(wmiNamespace, locator, services)) return;
  Held<IEnumWbemClassObject> instances;
  if (FAILED(services->ExecQuery(language.get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, instances.Out())) ||
      !instances)
    return;
  const LevelText levelText = FormatLevel(level);
  Held<IWbemClassObject> instance, classObject, signature, parameters;
  // Every instance with a fresh set of parameters; the first call that fails ends it all.
  for (;;) {
    ULONG returned = 0;
    if (instances->Next(WBEM_INFINITE, 1, instance.Out(), &returned) != S_OK) return;
    if (FAILED(services->GetObject(className.get(), 0, nullptr, classObject.Out(), nullptr))) return;
    if (FAILED(classObject->GetMethod(method.get(), 0, signature.Out(), nullptr))) return;
    if (FAILED(signature->SpawnInstance(0, parameters.Out()))) return;
    if (!PutText(*parameters.get(), timeout.get(), u"0", CIM_UINT32)) return;
    if (!PutText(*parameters.get(), brightness.get(), levelText.text, CIM_UINT8)) return;
    VARIANT path;
    VariantInit(&path);
    if (FAILED(instance->Get(u"__PATH", 0, &path, nullptr, nullptr))) return;
    const HRESULT hr = services->ExecMethod(path.vt == VT_BSTR ? path.bstrVal : nullptr, method.get(), 0, nullptr,
                                            parameters.get(), nullptr, nullptr);
    VariantClear(&path);
    if (FAILED(hr)) return;
    if (written) *written = true;
  }
}

}  // namespace velmora
