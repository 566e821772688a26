#include "platform/wmi/com.h"

#include <gtest/gtest.h>

#include "platform/wmi/bstr.h"
#include "platform/wmi/variant.h"
#include "platform/wmi/wbem.h"

namespace plat {
namespace {

TEST(Com, InitialisationIsCountedPerThread) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // already initialised: still a success
  EXPECT_TRUE(SUCCEEDED(S_FALSE));
  CoUninitialize();
  void* object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  CoUninitialize();
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, &object),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoInitialize(reinterpret_cast<void*>(1)), E_INVALIDARG);
}

TEST(Com, SecurityIsSetOncePerProcess) {
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_SECURE_REFS, nullptr);
  EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY, RPC_C_IMP_LEVEL_IMPERSONATE,
                                 nullptr, EOAC_SECURE_REFS, nullptr),
            RPC_E_TOO_LATE);
}

TEST(Com, OnlyTheLocatorClassIsRegistered) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  constexpr CLSID other{0x4590F812, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(CoCreateInstance(other, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_LOCAL_SERVER, IID_IWbemLocator, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemServices, &object), E_NOINTERFACE);
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, nullptr), E_POINTER);
  // Reached as IUnknown, the same object answers for the locator interface.
  ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_ALL, IID_IUnknown, &object), S_OK);
  auto* unknown = static_cast<IUnknown*>(object);
  void* locator = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IWbemLocator, &locator), S_OK);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(static_cast<IWbemLocator*>(locator)->Release(), 0u);
  EXPECT_EQ(CoSetProxyBlanket(nullptr, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            E_INVALIDARG);
  CoUninitialize();
}

TEST(SystemStrings, CountedUtf16WithALengthPrefix) {
  BSTR s = SysAllocString(u"root\\wmi");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 8u);
  EXPECT_EQ(SysStringByteLen(s), 16u);
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(s)[-1], 16u);
  EXPECT_EQ(s[8], u'\0');
  SysFreeString(s);

  BSTR withNull = SysAllocStringLen(u"a\0b", 3);
  EXPECT_EQ(SysStringLen(withNull), 3u);
  EXPECT_EQ(std::u16string(withNull, 3), std::u16string(u"a\0b", 3));
  SysFreeString(withNull);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);  // refused, not a huge allocation
}

TEST(Variants, ClearFreesStringsAndRefusesUnknownTags) {
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(u"50");
  EXPECT_EQ(VariantClear(&v), S_OK);  // the leak checker would see a string left behind
  EXPECT_EQ(v.vt, VT_EMPTY);
  v.vt = 0x4000 | VT_I4;  // by reference: not offered here
  EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

}  // namespace
}  // namespace plat
