#include "platform/wmi/wbem_objects.h"

#include <limits>

#include "platform/base/decimal.h"
#include "platform/base/utf.h"
#include "platform/wmi/wmi_names.h"

namespace plat::wmi {

namespace {

std::vector<Property> SystemProperties(std::u16string_view className, const std::optional<std::u16string>& path) {
  std::vector<Property> p;
  p.push_back({u"__CLASS", CIM_STRING, std::u16string(className)});
  p.push_back({u"__PATH", CIM_STRING, path ? std::optional<PropertyValue>(*path) : std::nullopt});
  p.push_back({u"__RELPATH", CIM_STRING, path ? std::optional<PropertyValue>(*path) : std::nullopt});
  return p;
}

// The properties of a class, null; an instance fills them in.
std::vector<Property> ClassProperties(std::u16string_view className) {
  std::vector<Property> p = SystemProperties(className, std::u16string(className));
  p.push_back({u"InstanceName", CIM_STRING, std::nullopt});
  p.push_back({u"Active", CIM_BOOLEAN, std::nullopt});
  if (SameName(className, kBrightnessClass)) p.push_back({u"CurrentBrightness", CIM_UINT8, std::nullopt});
  return p;
}

std::vector<Property> SetBrightnessParameters() {
  std::vector<Property> p = SystemProperties(kParametersClass, std::nullopt);
  p.push_back({u"Timeout", CIM_UINT32, std::nullopt});
  p.push_back({u"Brightness", CIM_UINT8, std::nullopt});
  return p;
}

std::uint64_t LargestOf(CIMTYPE type) {
  switch (type) {
    case CIM_UINT8: return std::numeric_limits<std::uint8_t>::max();
    case CIM_UINT16: return std::numeric_limits<std::uint16_t>::max();
    case CIM_UINT32: return std::numeric_limits<std::uint32_t>::max();
    case CIM_SINT32: return std::numeric_limits<std::int32_t>::max();
    default: return 0;
  }
}

bool IsNumber(CIMTYPE type) { return LargestOf(type) != 0; }

// The whole-number content of a variant, if it has one that is not negative.
std::optional<std::uint64_t> Whole(const VARIANT& v) {
  auto nonNegative = [](std::int64_t x) { return x < 0 ? std::nullopt : std::optional<std::uint64_t>(x); };
  switch (v.vt) {
    case VT_UI1: return v.bVal;
    case VT_UI2: return v.uiVal;
    case VT_UI4: return v.ulVal;
    case VT_UINT: return v.uintVal;
    case VT_I1: return nonNegative(v.cVal);
    case VT_I2: return nonNegative(v.iVal);
    case VT_I4: return nonNegative(v.lVal);
    case VT_INT: return nonNegative(v.intVal);
    case VT_BSTR: return ParseDecimal(Utf16ToUtf8(View(v.bstrVal)), std::numeric_limits<std::uint64_t>::max());
    default: return std::nullopt;
  }
}

// Converts value to a property of type; WBEM_E_TYPE_MISMATCH when it does not fit.
HRESULT Convert(const VARIANT& value, CIMTYPE type, std::optional<PropertyValue>* out) {
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) {
    out->reset();
    return S_OK;
  }
  if (IsNumber(type)) {
    const auto n = Whole(value);
    if (!n || *n > LargestOf(type)) return WBEM_E_TYPE_MISMATCH;
    *out = static_cast<std::uint32_t>(*n);
    return S_OK;
  }
  if (type == CIM_STRING && value.vt == VT_BSTR) {
    *out = std::u16string(View(value.bstrVal));
    return S_OK;
  }
  if (type == CIM_BOOLEAN && value.vt == VT_BOOL) {
    *out = value.boolVal != VARIANT_FALSE;
    return S_OK;
  }
  return WBEM_E_TYPE_MISMATCH;
}

// Fills an initialised variant as the platform hands properties out: uint8 as VT_UI1, the wider
// integers as VT_I4.
HRESULT ToVariant(const Property& p, VARIANT* out) {
  if (!p.value) {
    out->vt = VT_NULL;
    return S_OK;
  }
  if (const auto* text = std::get_if<std::u16string>(&*p.value)) {
    out->bstrVal = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
    if (!out->bstrVal) return WBEM_E_OUT_OF_MEMORY;
    out->vt = VT_BSTR;
  } else if (const auto* flag = std::get_if<bool>(&*p.value)) {
    out->vt = VT_BOOL;
    out->boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (p.type == CIM_UINT8) {
    out->vt = VT_UI1;
    out->bVal = static_cast<BYTE>(std::get<std::uint32_t>(*p.value));
  } else {
    out->vt = VT_I4;
    out->lVal = static_cast<LONG>(std::get<std::uint32_t>(*p.value));
  }
  return S_OK;
}

}  // namespace

WbemObject::WbemObject(ObjectKind kind, std::u16string className, std::vector<Property> properties)
    : kind_(kind), className_(std::move(className)), properties_(std::move(properties)) {}

const Property* WbemObject::Find(std::u16string_view name) const {
  for (const Property& p : properties_)
    if (SameName(p.name, name)) return &p;
  return nullptr;
}

Property* WbemObject::FindMutable(std::u16string_view name) { return const_cast<Property*>(Find(name)); }

HRESULT WbemObject::Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type, LONG* flavor) {
  if (!name) return WBEM_E_INVALID_PARAMETER;
  const Property* p = Find(View(name));
  if (!p) return WBEM_E_NOT_FOUND;
  if (value) {
    VariantInit(value);
    if (const HRESULT hr = ToVariant(*p, value); FAILED(hr)) return hr;
  }
  if (type) *type = p->type;
  if (flavor) *flavor = 0;
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::Put(LPCWSTR name, LONG, VARIANT* value, CIMTYPE type) {
  if (!name) return WBEM_E_INVALID_PARAMETER;
  if (kind_ != ObjectKind::Parameters) return WBEM_E_INVALID_OPERATION;  // the service's own objects are read-only
  Property* p = FindMutable(View(name));
  if (!p) return WBEM_E_NOT_FOUND;
  if (type != CIM_EMPTY && type != p->type) return WBEM_E_TYPE_MISMATCH;
  if (!value) {
    p->value.reset();
    return WBEM_S_NO_ERROR;
  }
  return Convert(*value, p->type, &p->value);
}

HRESULT WbemObject::GetMethod(LPCWSTR name, LONG, IWbemClassObject** inSignature, IWbemClassObject** outSignature) {
  if (!name) return WBEM_E_INVALID_PARAMETER;
  const bool has = (kind_ == ObjectKind::Class || kind_ == ObjectKind::Instance) && SameName(className_, kMethodsClass) &&
                   SameName(View(name), kSetBrightnessMethod);
  if (!has) return WBEM_E_NOT_FOUND;
  if (inSignature) MakeComObject<WbemObject>(ObjectKind::InSignature, std::u16string(kParametersClass), SetBrightnessParameters())
                       .CopyTo(inSignature);
  if (outSignature) *outSignature = nullptr;  // the method gives nothing back
  return WBEM_S_NO_ERROR;
}

HRESULT WbemObject::SpawnInstance(LONG, IWbemClassObject** instance) {
  if (!instance) return WBEM_E_INVALID_PARAMETER;
  *instance = nullptr;
  if (kind_ != ObjectKind::InSignature) return WBEM_E_INVALID_OPERATION;
  MakeComObject<WbemObject>(ObjectKind::Parameters, className_, properties_).CopyTo(instance);
  return WBEM_S_NO_ERROR;
}

ComPtr<WbemObject> MakeClassObject(std::u16string_view className) {
  const std::u16string_view canonical = SameName(className, kMethodsClass) ? kMethodsClass : kBrightnessClass;
  return MakeComObject<WbemObject>(ObjectKind::Class, std::u16string(canonical), ClassProperties(canonical));
}

ComPtr<WbemObject> MakeInstance(std::u16string_view className, const Backlight& device) {
  const std::u16string_view canonical = SameName(className, kMethodsClass) ? kMethodsClass : kBrightnessClass;
  std::vector<Property> p = SystemProperties(canonical, InstancePath(canonical, device.name));
  p.push_back({u"InstanceName", CIM_STRING, Utf8ToUtf16(device.name)});
  p.push_back({u"Active", CIM_BOOLEAN, true});
  if (canonical == kBrightnessClass)
    p.push_back({u"CurrentBrightness", CIM_UINT8, static_cast<std::uint32_t>(BrightnessPercent(device))});
  return MakeComObject<WbemObject>(ObjectKind::Instance, std::u16string(canonical), std::move(p));
}

}  // namespace plat::wmi
