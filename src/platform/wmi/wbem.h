#pragma once
// The management service's interfaces, as far as brightness needs them. Namespace "root\wmi"
// offers the classes WmiMonitorBrightness (property CurrentBrightness, a percentage) and
// WmiMonitorBrightnessMethods (method WmiSetBrightness(Timeout, Brightness)), one instance of
// each for the backlight device that serves the panel (see backlight.h).
#include "platform/wmi/com.h"
#include "platform/wmi/variant.h"

namespace plat {

using CIMTYPE = LONG;

enum CIMTYPE_ENUMERATION : CIMTYPE {
  CIM_EMPTY = 0,
  CIM_SINT32 = 3,
  CIM_STRING = 8,
  CIM_BOOLEAN = 11,
  CIM_UINT8 = 17,
  CIM_UINT16 = 18,
  CIM_UINT32 = 19,
};

// Flags and timeouts are the platform's 32-bit longs.
inline constexpr LONG WBEM_FLAG_RETURN_IMMEDIATELY = 0x10;
inline constexpr LONG WBEM_FLAG_FORWARD_ONLY = 0x20;
inline constexpr LONG WBEM_NO_WAIT = 0;
inline constexpr LONG WBEM_INFINITE = static_cast<LONG>(0xFFFFFFFFu);

inline constexpr HRESULT WBEM_S_NO_ERROR = 0;
inline constexpr HRESULT WBEM_S_FALSE = 1;
inline constexpr HRESULT WBEM_E_FAILED = MakeHresult(0x80041001);
inline constexpr HRESULT WBEM_E_NOT_FOUND = MakeHresult(0x80041002);
inline constexpr HRESULT WBEM_E_ACCESS_DENIED = MakeHresult(0x80041003);
inline constexpr HRESULT WBEM_E_TYPE_MISMATCH = MakeHresult(0x80041005);
inline constexpr HRESULT WBEM_E_OUT_OF_MEMORY = MakeHresult(0x80041006);
inline constexpr HRESULT WBEM_E_INVALID_PARAMETER = MakeHresult(0x80041008);
inline constexpr HRESULT WBEM_E_INVALID_NAMESPACE = MakeHresult(0x8004100E);
inline constexpr HRESULT WBEM_E_INVALID_CLASS = MakeHresult(0x80041010);
inline constexpr HRESULT WBEM_E_INVALID_OPERATION = MakeHresult(0x80041016);
inline constexpr HRESULT WBEM_E_INVALID_QUERY = MakeHresult(0x80041017);
inline constexpr HRESULT WBEM_E_INVALID_QUERY_TYPE = MakeHresult(0x80041018);
inline constexpr HRESULT WBEM_E_INVALID_METHOD = MakeHresult(0x8004102E);
inline constexpr HRESULT WBEM_E_INVALID_METHOD_PARAMETERS = MakeHresult(0x8004102F);
inline constexpr HRESULT WBEM_E_INVALID_OBJECT_PATH = MakeHresult(0x8004103A);

// Callers pass none of these; they are declared for the signatures.
class IWbemContext;
class IWbemCallResult;

class IWbemClassObject : public IUnknown {
 public:
  static constexpr IID kIid{0xDC12A681, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
  // value (may be null) receives a copy the caller clears with VariantClear.
  virtual HRESULT Get(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE* type, LONG* flavor) = 0;
  // type 0 means the property's own; a string value is converted to it.
  virtual HRESULT Put(LPCWSTR name, LONG flags, VARIANT* value, CIMTYPE type) = 0;
  virtual HRESULT GetMethod(LPCWSTR name, LONG flags, IWbemClassObject** inSignature,
                            IWbemClassObject** outSignature) = 0;
  virtual HRESULT SpawnInstance(LONG flags, IWbemClassObject** instance) = 0;
};

class IEnumWbemClassObject : public IUnknown {
 public:
  static constexpr IID kIid{0x027947E1, 0xD731, 0x11CE, {0xA3, 0x57, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  // S_OK when count objects were returned, WBEM_S_FALSE when fewer (the end).
  virtual HRESULT Next(LONG timeout, ULONG count, IWbemClassObject** objects, ULONG* returned) = 0;
  virtual HRESULT Reset() = 0;
};

class IWbemServices : public IUnknown {
 public:
  static constexpr IID kIid{0x9556DC99, 0x828C, 0x11CF, {0xA3, 0x7E, 0x00, 0xAA, 0x00, 0x32, 0x40, 0xC7}};
  virtual HRESULT GetObject(const BSTR path, LONG flags, IWbemContext* context, IWbemClassObject** object,
                            IWbemCallResult** callResult) = 0;
  virtual HRESULT ExecQuery(const BSTR language, const BSTR query, LONG flags, IWbemContext* context,
                            IEnumWbemClassObject** result) = 0;
  virtual HRESULT ExecMethod(const BSTR path, const BSTR method, LONG flags, IWbemContext* context,
                             IWbemClassObject* inParams, IWbemClassObject** outParams,
                             IWbemCallResult** callResult) = 0;
};

class IWbemLocator : public IUnknown {
 public:
  static constexpr IID kIid{0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
  virtual HRESULT ConnectServer(const BSTR resource, const BSTR user, const BSTR password, const BSTR locale,
                                LONG securityFlags, const BSTR authority, IWbemContext* context,
                                IWbemServices** services) = 0;
};

inline constexpr CLSID CLSID_WbemLocator{0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
inline constexpr IID IID_IWbemLocator = IWbemLocator::kIid;
inline constexpr IID IID_IWbemServices = IWbemServices::kIid;
inline constexpr IID IID_IEnumWbemClassObject = IEnumWbemClassObject::kIid;
inline constexpr IID IID_IWbemClassObject = IWbemClassObject::kIid;

}  // namespace plat
