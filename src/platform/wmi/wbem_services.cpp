#include "platform/wmi/wbem_services.h"

#include <exception>
#include <new>

#include "platform/base/error.h"
#include "platform/base/problems.h"
#include "platform/wmi/wbem_enumerator.h"
#include "platform/wmi/wbem_objects.h"
#include "platform/wmi/wmi_names.h"

namespace plat::wmi {

namespace {

constexpr std::u16string_view kLanguage = u"WQL";
constexpr std::u16string_view kBrightnessQuery = u"Select * from WmiMonitorBrightness";
constexpr std::u16string_view kMethodsQuery = u"Select * from WmiMonitorBrightnessMethods";

bool IsServiceClass(std::u16string_view name) { return SameName(name, kBrightnessClass) || SameName(name, kMethodsClass); }

// Nothing may leave an interface call as an exception; why it failed goes to the listener.
template <typename Body>
HRESULT Guarded(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return WBEM_E_OUT_OF_MEMORY;
  } catch (const std::exception& e) {
    ReportProblem(e.what());
    return WBEM_E_FAILED;
  }
}

// The one device that serves the panel; the reasons for none go to the listener.
std::optional<Backlight> ServiceDevice() {
  std::vector<std::string> problems;
  auto device = ChooseBacklight(ListBacklights(CurrentBacklightSettings(), &problems));
  if (!device) {
    for (const std::string& problem : problems) ReportProblem(problem);
    ReportProblem("no usable backlight device in " + CurrentBacklightSettings().root.string());
  }
  return device;
}

std::optional<Backlight> FindDevice(const std::string& name) {
  for (Backlight& device : ListBacklights(CurrentBacklightSettings()))
    if (device.name == name) return device;
  return std::nullopt;
}

class Services final : public ComObject<IWbemServices> {
 public:
  HRESULT GetObject(const BSTR path, LONG, IWbemContext*, IWbemClassObject** object, IWbemCallResult** callResult) override {
    if (callResult) *callResult = nullptr;
    if (!object) return WBEM_E_INVALID_PARAMETER;
    *object = nullptr;
    return Guarded([&] {
      const auto parsed = ParseObjectPath(View(path));
      if (!parsed) return WBEM_E_INVALID_OBJECT_PATH;
      if (!IsServiceClass(parsed->className)) return WBEM_E_INVALID_CLASS;
      if (!parsed->instance) {
        MakeClassObject(parsed->className).CopyTo(object);
        return WBEM_S_NO_ERROR;
      }
      const auto device = FindDevice(*parsed->instance);
      if (!device) return WBEM_E_NOT_FOUND;
      MakeInstance(parsed->className, *device).CopyTo(object);
      return WBEM_S_NO_ERROR;
    });
  }

  HRESULT ExecQuery(const BSTR language, const BSTR query, LONG, IWbemContext*, IEnumWbemClassObject** result) override {
    if (!result) return WBEM_E_INVALID_PARAMETER;
    *result = nullptr;
    if (!SameName(View(language), kLanguage)) return WBEM_E_INVALID_QUERY_TYPE;
    std::u16string_view className;
    if (SameName(View(query), kBrightnessQuery)) {
      className = kBrightnessClass;
    } else if (SameName(View(query), kMethodsQuery)) {
      className = kMethodsClass;
    } else {
      return WBEM_E_INVALID_QUERY;
    }
    return Guarded([&] {
      std::vector<ComPtr<IWbemClassObject>> instances;
      if (const auto device = ServiceDevice()) instances.push_back(MakeInstance(className, *device));
      MakeEnumerator(std::move(instances)).CopyTo(result);
      return WBEM_S_NO_ERROR;
    });
  }

  HRESULT ExecMethod(const BSTR path, const BSTR method, LONG, IWbemContext*, IWbemClassObject* inParams,
                     IWbemClassObject** outParams, IWbemCallResult** callResult) override {
    if (outParams) *outParams = nullptr;
    if (callResult) *callResult = nullptr;
    return Guarded([&] {
      const auto parsed = ParseObjectPath(View(path));
      if (!parsed) return WBEM_E_INVALID_OBJECT_PATH;
      if (!IsServiceClass(parsed->className)) return WBEM_E_INVALID_CLASS;
      if (!SameName(parsed->className, kMethodsClass) || !SameName(View(method), kSetBrightnessMethod))
        return WBEM_E_INVALID_METHOD;
      if (!parsed->instance) return WBEM_E_INVALID_METHOD_PARAMETERS;  // the method acts on a device
      const auto* parameters = dynamic_cast<const WbemObject*>(inParams);
      if (!parameters || parameters->kind() != ObjectKind::Parameters) return WBEM_E_INVALID_PARAMETER;
      const Property* level = parameters->Find(u"Brightness");
      if (!level || !level->value) return WBEM_E_INVALID_METHOD_PARAMETERS;
      const std::uint32_t percent = std::get<std::uint32_t>(*level->value);
      if (percent > 100) return WBEM_E_INVALID_PARAMETER;
      if (!FindDevice(*parsed->instance)) return WBEM_E_NOT_FOUND;
      WriteBacklight(CurrentBacklightSettings(), *parsed->instance, static_cast<int>(percent));
      return WBEM_S_NO_ERROR;
    });
  }
};

class Locator final : public ComObject<IWbemLocator> {
 public:
  HRESULT ConnectServer(const BSTR resource, const BSTR, const BSTR, const BSTR, LONG, const BSTR, IWbemContext*,
                        IWbemServices** services) override {
    if (!services) return WBEM_E_INVALID_PARAMETER;
    *services = nullptr;
    if (!SameName(View(resource), kNamespace)) return WBEM_E_INVALID_NAMESPACE;
    return Guarded([&] {
      MakeComObject<Services>().CopyTo(services);
      return WBEM_S_NO_ERROR;
    });
  }
};

}  // namespace

HRESULT CreateLocator(REFIID iid, void** object) {
  return Guarded([&] { return MakeComObject<Locator>()->QueryInterface(iid, object); });
}

}  // namespace plat::wmi
