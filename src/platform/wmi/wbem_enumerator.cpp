#include "platform/wmi/wbem_enumerator.h"

namespace plat::wmi {

namespace {

class Enumerator final : public ComObject<IEnumWbemClassObject> {
 public:
  explicit Enumerator(std::vector<ComPtr<IWbemClassObject>> objects) : objects_(std::move(objects)) {}

  // The objects are ready when the query returns, so no timeout ever runs out.
  HRESULT Next(LONG, ULONG count, IWbemClassObject** objects, ULONG* returned) override {
    if (!objects || !returned) return WBEM_E_INVALID_PARAMETER;
    ULONG n = 0;
    for (; n < count && next_ < objects_.size(); ++n) objects_[next_++].CopyTo(&objects[n]);
    *returned = n;
    return n == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
  }

  HRESULT Reset() override {
    next_ = 0;
    return WBEM_S_NO_ERROR;
  }

 private:
  std::vector<ComPtr<IWbemClassObject>> objects_;
  std::size_t next_ = 0;
};

}  // namespace

ComPtr<IEnumWbemClassObject> MakeEnumerator(std::vector<ComPtr<IWbemClassObject>> objects) {
  return MakeComObject<Enumerator>(std::move(objects));
}

}  // namespace plat::wmi
