#pragma once
// Inside the management service: the result of a query, handed out in order.
#include <vector>

#include "platform/wmi/com_object.h"
#include "platform/wmi/wbem.h"

namespace plat::wmi {

ComPtr<IEnumWbemClassObject> MakeEnumerator(std::vector<ComPtr<IWbemClassObject>> objects);

}  // namespace plat::wmi
