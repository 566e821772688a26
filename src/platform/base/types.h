#pragma once
// The platform's scalar types, with the widths its records and messages rely on.
#include <cstdint>

namespace plat {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using INT = int;
using BOOL = int;
using COLORREF = DWORD;
using COLOR16 = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using ULONG = std::uint32_t;

// Handles shared by several parts of the platform.
using HANDLE = void*;
using HMONITOR = struct HMONITOR__*;

// Names that may be numbers: a resource or class name given as MAKEINTRESOURCE(n).
inline const char* MAKEINTRESOURCE(WORD id) { return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id)); }
inline bool IS_INTRESOURCE(const char* p) { return reinterpret_cast<std::uintptr_t>(p) <= 0xFFFF; }

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(lp))); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi)));
}

}  // namespace plat
