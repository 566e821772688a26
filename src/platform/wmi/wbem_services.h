#pragma once
// Inside the management service: the locator and the "root\wmi" namespace it connects to.
#include "platform/wmi/com_object.h"
#include "platform/wmi/wbem.h"

namespace plat::wmi {

// For CoCreateInstance: a new locator, as interface iid.
HRESULT CreateLocator(REFIID iid, void** object);

}  // namespace plat::wmi
