#include "platform/wmi/variant.h"

namespace plat {

void VariantInit(VARIANT* v) {
  if (!v) return;
  v->vt = VT_EMPTY;
  v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
  v->llVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  switch (v->vt) {
    case VT_BSTR:
      SysFreeString(v->bstrVal);
      break;
    case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_BOOL: case VT_I1:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_INT: case VT_UINT:
      break;
    default:
      return DISP_E_BADVARTYPE;
  }
  VariantInit(v);
  return S_OK;
}

}  // namespace plat
