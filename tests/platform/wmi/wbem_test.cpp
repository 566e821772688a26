#include "platform/wmi/wbem.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "backlight_tree.h"
#include "platform/base/utf.h"

namespace plat {
namespace {

// Holds a system string for the length of a test.
struct Str {
  explicit Str(const char16_t* text) : s(SysAllocString(text)) {}
  ~Str() { SysFreeString(s); }
  operator BSTR() const { return s; }
  BSTR s;
};

template <typename T>
void ReleaseAll(std::initializer_list<T*> objects) {
  for (T* o : objects)
    if (o) o->Release();
}

// Up to a connected services object, with the program's arguments; nullptr on any failure.
IWbemServices* Connect(IWbemLocator** locatorOut) {
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_SECURE_REFS, nullptr);
  IWbemLocator* locator = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(&locator))))
    return nullptr;
  *locatorOut = locator;
  IWbemServices* services = nullptr;
  Str ns(u"root\\wmi");
  if (locator->ConnectServer(ns, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services) != S_OK) return nullptr;
  if (CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE) != 0) {
    services->Release();
    return nullptr;
  }
  return services;
}

// The program's read: the last instance's CurrentBrightness, or -1.
int ReadAsTheProgramDoes() {
  int result = -1;
  Str query(u"Select * from WmiMonitorBrightness"), language(u"WQL");
  const HRESULT init = CoInitialize(nullptr);
  if (FAILED(init)) return result;
  IWbemLocator* locator = nullptr;
  IWbemServices* services = Connect(&locator);
  IEnumWbemClassObject* e = nullptr;
  if (services && services->ExecQuery(language, query, WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &e) == 0) {
    for (;;) {
      IWbemClassObject* instance = nullptr;
      ULONG returned = 0;
      if (e->Next(WBEM_INFINITE, 1, &instance, &returned) != S_OK) break;
      VARIANT v;
      const HRESULT hr = instance->Get(u"CurrentBrightness", 0, &v, nullptr, nullptr);
      instance->Release();
      if (FAILED(hr)) break;
      EXPECT_EQ(v.vt, VT_UI1);
      result = v.bVal;
      VariantClear(&v);
    }
  }
  ReleaseAll<IUnknown>({e, services, locator});
  CoUninitialize();
  return result;
}

// The program's write: every methods instance, each with fresh parameters. Returns the first
// failure, or S_OK.
HRESULT WriteAsTheProgramDoes(int level) {
  Str className(u"WmiMonitorBrightnessMethods"), method(u"WmiSetBrightness"), language(u"WQL"),
      query(u"Select * from WmiMonitorBrightnessMethods");
  if (FAILED(CoInitialize(nullptr))) return E_FAIL;
  IWbemLocator* locator = nullptr;
  IWbemServices* services = Connect(&locator);
  IEnumWbemClassObject* e = nullptr;
  HRESULT failure = services ? services->ExecQuery(language, query, WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &e) : E_FAIL;
  while (SUCCEEDED(failure)) {
    IWbemClassObject* instance = nullptr;
    ULONG returned = 0;
    if (e->Next(WBEM_INFINITE, 1, &instance, &returned) != S_OK) break;
    IWbemClassObject *cls = nullptr, *signature = nullptr, *parameters = nullptr;
    VARIANT timeout, brightness, path;
    VariantInit(&timeout), VariantInit(&brightness), VariantInit(&path);
    char text[10];
    std::snprintf(text, sizeof text, "%i", level);
    const std::u16string wide = Utf8ToUtf16(text);
    timeout.vt = VT_BSTR, timeout.bstrVal = SysAllocString(u"0");
    brightness.vt = VT_BSTR, brightness.bstrVal = SysAllocString(wide.c_str());
    HRESULT hr = services->GetObject(className, 0, nullptr, &cls, nullptr);
    if (SUCCEEDED(hr)) hr = cls->GetMethod(method, 0, &signature, nullptr);
    if (SUCCEEDED(hr)) hr = signature->SpawnInstance(0, &parameters);
    if (SUCCEEDED(hr)) hr = parameters->Put(u"Timeout", 0, &timeout, CIM_UINT32);
    if (SUCCEEDED(hr)) hr = parameters->Put(u"Brightness", 0, &brightness, CIM_UINT8);
    if (SUCCEEDED(hr)) hr = instance->Get(u"__PATH", 0, &path, nullptr, nullptr);
    if (SUCCEEDED(hr)) hr = services->ExecMethod(path.bstrVal, method, 0, nullptr, parameters, nullptr, nullptr);
    VariantClear(&timeout), VariantClear(&brightness), VariantClear(&path);
    ReleaseAll<IWbemClassObject>({parameters, signature, cls, instance});
    failure = hr;
  }
  ReleaseAll<IUnknown>({e, services, locator});
  CoUninitialize();
  return failure;
}

using Service = test::BacklightTree;

// A laptop with a firmware and a raw device for one panel: the panel is read and stepped once,
// through the firmware device.
TEST_F(Service, ReadAndWriteUseTheOneDeviceThatServesThePanel) {
  Device("intel_backlight", "115\n", "480\n");
  Device("acpi_video0", "10\n", "15\n", "firmware");
  EXPECT_EQ(ReadAsTheProgramDoes(), 67);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // the operation balanced its own initialisation
  CoUninitialize();
  EXPECT_EQ(WriteAsTheProgramDoes(50), S_OK);
  EXPECT_EQ(writes, (decltype(writes){{"acpi_video0", 8}}));
  EXPECT_EQ(Raw("intel_backlight"), "115\n");
  EXPECT_EQ(ReadAsTheProgramDoes(), 53);
  EXPECT_EQ(WriteAsTheProgramDoes(100), S_OK);
  EXPECT_EQ(Raw("acpi_video0"), "15\n");
}

TEST_F(Service, NoBacklightNoInstance) {
  EXPECT_EQ(ReadAsTheProgramDoes(), -1);
  EXPECT_EQ(WriteAsTheProgramDoes(50), S_OK);
  EXPECT_TRUE(writes.empty());
}

TEST_F(Service, ABrokenDeviceIsNotOffered) {
  Device("intel_backlight", "115\n", "480\n");
  Device("broken", "12\n", "0\n", "firmware");
  EXPECT_EQ(ReadAsTheProgramDoes(), 24);
  EXPECT_EQ(WriteAsTheProgramDoes(50), S_OK);
  EXPECT_EQ(writes, (decltype(writes){{"intel_backlight", 240}}));
}

// Services connected without the program's ceremony, for the error cases.
class Direct : public Service {
 protected:
  void SetUp() override {
    Service::SetUp();
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                               reinterpret_cast<void**>(&locator)),
              S_OK);
    ASSERT_EQ(locator->ConnectServer(Str(u"ROOT\\WMI"), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services), S_OK);
  }
  void TearDown() override {
    ReleaseAll<IUnknown>({services, locator});
    CoUninitialize();
    Service::TearDown();
  }

  // Fresh parameters for WmiSetBrightness.
  IWbemClassObject* Parameters() {
    IWbemClassObject *cls = nullptr, *signature = nullptr, *parameters = nullptr;
    EXPECT_EQ(services->GetObject(Str(u"WmiMonitorBrightnessMethods"), 0, nullptr, &cls, nullptr), S_OK);
    EXPECT_EQ(cls->GetMethod(u"WmiSetBrightness", 0, &signature, nullptr), S_OK);
    EXPECT_EQ(signature->SpawnInstance(0, &parameters), S_OK);
    ReleaseAll<IWbemClassObject>({cls, signature});
    return parameters;
  }

  HRESULT PutText(IWbemClassObject* o, const char16_t* name, const char16_t* text, CIMTYPE type) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(text);
    const HRESULT hr = o->Put(name, 0, &v, type);
    VariantClear(&v);
    return hr;
  }

  IWbemLocator* locator = nullptr;
  IWbemServices* services = nullptr;
};

TEST_F(Direct, OnlyTheBrightnessNamespaceAndQueries) {
  IWbemServices* other = reinterpret_cast<IWbemServices*>(1);
  EXPECT_EQ(locator->ConnectServer(Str(u"root\\other"), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &other),
            WBEM_E_INVALID_NAMESPACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(locator->ConnectServer(nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &other),
            WBEM_E_INVALID_NAMESPACE);

  const struct {
    const char16_t* language;
    const char16_t* query;
    HRESULT result;
  } cases[] = {
      {u"WQL", u"Select * from WmiMonitorBrightness", S_OK},
      {u"wql", u"SELECT * FROM wmimonitorbrightnessmethods", S_OK},
      {u"WQL", u"Select * from WmiMonitorBrightness where Active = true", WBEM_E_INVALID_QUERY},
      {u"WQL", u"Select CurrentBrightness from WmiMonitorBrightness", WBEM_E_INVALID_QUERY},
      {u"WQL", u"Select * from OtherMonitorClass", WBEM_E_INVALID_QUERY},
      {u"WQL", u"", WBEM_E_INVALID_QUERY},
      {u"WQL", nullptr, WBEM_E_INVALID_QUERY},
      {u"SQL", u"Select * from WmiMonitorBrightness", WBEM_E_INVALID_QUERY_TYPE},
  };
  for (const auto& c : cases) {
    IEnumWbemClassObject* e = nullptr;
    EXPECT_EQ(services->ExecQuery(Str(c.language), c.query ? Str(c.query).s : nullptr, WBEM_FLAG_RETURN_IMMEDIATELY,
                                  nullptr, &e),
              c.result)
        << Utf16ToUtf8(c.query ? c.query : u"(null)");
    EXPECT_EQ(e != nullptr, c.result == S_OK);
    if (e) e->Release();
  }
}

TEST_F(Direct, NextPastTheEndKeepsAnsweringFalse) {
  Device("intel_backlight", "115\n", "480\n");
  IEnumWbemClassObject* e = nullptr;
  ASSERT_EQ(services->ExecQuery(Str(u"WQL"), Str(u"Select * from WmiMonitorBrightness"), 0, nullptr, &e), S_OK);
  IWbemClassObject* got[3] = {};
  ULONG n = 9;
  EXPECT_EQ(e->Next(WBEM_INFINITE, 3, got, &n), WBEM_S_FALSE);
  EXPECT_EQ(n, 1u);
  VARIANT path;
  ASSERT_EQ(got[0]->Get(u"__PATH", 0, &path, nullptr, nullptr), S_OK);
  EXPECT_EQ(path.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(path.bstrVal), u"WmiMonitorBrightness.InstanceName=\"intel_backlight\"");
  VariantClear(&path);
  CIMTYPE type = 0;
  EXPECT_EQ(got[0]->Get(u"currentbrightness", 0, nullptr, &type, nullptr), S_OK);
  EXPECT_EQ(type, CIM_UINT8);
  EXPECT_EQ(got[0]->Get(u"Nonsense", 0, &path, nullptr, nullptr), WBEM_E_NOT_FOUND);
  EXPECT_EQ(got[0]->Put(u"CurrentBrightness", 0, nullptr, 0), WBEM_E_INVALID_OPERATION);
  got[0]->Release();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(e->Next(WBEM_INFINITE, 1, got, &n), WBEM_S_FALSE);
    EXPECT_EQ(n, 0u);
  }
  EXPECT_EQ(e->Next(WBEM_INFINITE, 1, nullptr, &n), WBEM_E_INVALID_PARAMETER);
  e->Release();
}

TEST_F(Direct, ParametersConvertTextByTheirCimType) {
  const struct {
    const char16_t* name;
    const char16_t* text;
    CIMTYPE type;
    HRESULT result;
  } cases[] = {
      {u"Brightness", u"50", CIM_UINT8, S_OK},
      {u"Brightness", u"0", 0, S_OK},
      {u"Brightness", u"255", CIM_UINT8, S_OK},
      {u"Brightness", u"256", CIM_UINT8, WBEM_E_TYPE_MISMATCH},
      {u"Brightness", u"-1", CIM_UINT8, WBEM_E_TYPE_MISMATCH},
      {u"Brightness", u"5x", CIM_UINT8, WBEM_E_TYPE_MISMATCH},
      {u"Brightness", u"", CIM_UINT8, WBEM_E_TYPE_MISMATCH},
      {u"Brightness", u"99999999999999999999999", CIM_UINT8, WBEM_E_TYPE_MISMATCH},
      {u"Brightness", u"50", CIM_UINT32, WBEM_E_TYPE_MISMATCH},
      {u"Timeout", u"4294967295", CIM_UINT32, S_OK},
      {u"Timeout", u"4294967296", CIM_UINT32, WBEM_E_TYPE_MISMATCH},
      {u"Level", u"50", CIM_UINT8, WBEM_E_NOT_FOUND},
  };
  IWbemClassObject* p = Parameters();
  for (const auto& c : cases)
    EXPECT_EQ(PutText(p, c.name, c.text, c.type), c.result) << Utf16ToUtf8(c.name) << " " << Utf16ToUtf8(c.text);
  VARIANT number;
  number.vt = VT_I4;
  number.lVal = 42;
  EXPECT_EQ(p->Put(u"Brightness", 0, &number, CIM_UINT8), S_OK);
  VARIANT back;
  ASSERT_EQ(p->Get(u"Brightness", 0, &back, nullptr, nullptr), S_OK);
  EXPECT_EQ(back.vt, VT_UI1);
  EXPECT_EQ(back.bVal, 42);
  p->Release();
}

TEST_F(Direct, MethodCallsCheckPathMethodAndParameters) {
  Device("intel_backlight", "115\n", "480\n");
  IWbemClassObject* p = Parameters();
  const std::u16string good = u"WmiMonitorBrightnessMethods.InstanceName=\"intel_backlight\"";
  auto call = [&](const std::u16string& path, const char16_t* method, IWbemClassObject* params) {
    return services->ExecMethod(Str(path.c_str()), Str(method), 0, nullptr, params, nullptr, nullptr);
  };
  EXPECT_EQ(call(good, u"WmiSetBrightness", p), WBEM_E_INVALID_METHOD_PARAMETERS);  // no Brightness yet
  ASSERT_EQ(PutText(p, u"Brightness", u"101", CIM_UINT8), S_OK);
  EXPECT_EQ(call(good, u"WmiSetBrightness", p), WBEM_E_INVALID_PARAMETER);
  ASSERT_EQ(PutText(p, u"Brightness", u"50", CIM_UINT8), S_OK);

  const struct {
    std::u16string path;
    const char16_t* method;
    HRESULT result;
  } cases[] = {
      {u"WmiMonitorBrightnessMethods.InstanceName=\"missing\"", u"WmiSetBrightness", WBEM_E_NOT_FOUND},
      {u"WmiMonitorBrightnessMethods.InstanceName=\"../backlight/intel_backlight\"", u"WmiSetBrightness",
       WBEM_E_NOT_FOUND},
      {u"WmiMonitorBrightnessMethods.InstanceName=intel_backlight", u"WmiSetBrightness", WBEM_E_INVALID_OBJECT_PATH},
      {u"WmiMonitorBrightnessMethods.Name=\"intel_backlight\"", u"WmiSetBrightness", WBEM_E_INVALID_OBJECT_PATH},
      {u"root\\other:WmiMonitorBrightnessMethods.InstanceName=\"intel_backlight\"", u"WmiSetBrightness",
       WBEM_E_INVALID_OBJECT_PATH},
      {u"", u"WmiSetBrightness", WBEM_E_INVALID_OBJECT_PATH},
      {u"OtherClass.InstanceName=\"intel_backlight\"", u"WmiSetBrightness", WBEM_E_INVALID_CLASS},
      {u"WmiMonitorBrightness.InstanceName=\"intel_backlight\"", u"WmiSetBrightness", WBEM_E_INVALID_METHOD},
      {good, u"WmiOtherMethod", WBEM_E_INVALID_METHOD},
      {u"WmiMonitorBrightnessMethods", u"WmiSetBrightness", WBEM_E_INVALID_METHOD_PARAMETERS},
  };
  for (const auto& c : cases) EXPECT_EQ(call(c.path, c.method, p), c.result) << Utf16ToUtf8(c.path);
  EXPECT_TRUE(writes.empty());

  EXPECT_EQ(call(u"\\\\.\\root\\wmi:" + good, u"wmisetbrightness", p), S_OK);
  EXPECT_EQ(Raw("intel_backlight"), "240\n");

  IWbemClassObject* instance = nullptr;
  EXPECT_EQ(services->ExecMethod(Str(good.c_str()), Str(u"WmiSetBrightness"), 0, nullptr, instance, nullptr, nullptr),
            WBEM_E_INVALID_PARAMETER);
  EXPECT_EQ(services->GetObject(Str(good.c_str()), 0, nullptr, &instance, nullptr), S_OK);
  EXPECT_EQ(services->ExecMethod(Str(good.c_str()), Str(u"WmiSetBrightness"), 0, nullptr, instance, nullptr, nullptr),
            WBEM_E_INVALID_PARAMETER);  // an instance is not a parameter set
  instance->Release();
  EXPECT_EQ(services->GetObject(Str(u"OtherClass"), 0, nullptr, &instance, nullptr), WBEM_E_INVALID_CLASS);
  p->Release();
}

}  // namespace
}  // namespace plat
