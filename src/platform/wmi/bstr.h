#pragma once
// System strings: UTF-16, counted by a 32-bit byte length stored just before the characters,
// and ended by a null character that the count leaves out.
#include "platform/wmi/com.h"

namespace plat {

using BSTR = OLECHAR*;

// Null in, null out; null also when the string cannot be allocated.
BSTR SysAllocString(const OLECHAR* text);
// length characters from text (may hold nulls); text null gives length zero characters.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);  // null is fine
UINT SysStringLen(BSTR text);   // characters; 0 for null
UINT SysStringByteLen(BSTR text);

}  // namespace plat
