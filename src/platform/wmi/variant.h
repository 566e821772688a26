#pragma once
// Variants: a type tag and one value, as the management service passes properties.
#include "platform/wmi/bstr.h"

namespace plat {

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_INT = 22,
  VT_UINT = 23,
};

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
inline constexpr HRESULT DISP_E_BADVARTYPE = MakeHresult(0x80020008);

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    USHORT uiVal;
    ULONG ulVal;
    INT intVal;
    UINT uintVal;
    char cVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
  };
};

void VariantInit(VARIANT* v);
// Frees what the variant owns (a string) and leaves it empty; DISP_E_BADVARTYPE for a tag this
// platform does not know, E_INVALIDARG for null.
HRESULT VariantClear(VARIANT* v);

}  // namespace plat
