#pragma once
// Move-only owners for every Windows handle kind the program holds. Each kind
// is a traits struct (its empty value and how it is released) plugged into
// one template, so no handle is closed by hand anywhere.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oaidl.h>
#include <oleauto.h>
#include <utility>

namespace platform {

template <typename Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() noexcept : value_(Traits::Invalid()) {}
  explicit UniqueResource(Type value) noexcept : value_(value) {}
  ~UniqueResource() { Reset(); }

  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  [[nodiscard]] Type Get() const noexcept { return value_; }
  [[nodiscard]] bool IsValid() const noexcept { return Traits::IsValid(value_); }
  explicit operator bool() const noexcept { return IsValid(); }

  // Gives up ownership without releasing.
  [[nodiscard]] Type Release() noexcept {
    Type value = value_;
    value_ = Traits::Invalid();
    return value;
  }

  void Reset(Type value = Traits::Invalid()) noexcept {
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = value;
  }

  // For APIs that return a handle through an out-parameter.
  [[nodiscard]] Type* Put() noexcept {
    Reset();
    return &value_;
  }

 private:
  Type value_;
};

// Kernel objects whose "no handle" value is null (processes, threads, mutexes, events).
struct HandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Files and snapshots report failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Directory searches started with FindFirstFile are ended with FindClose.
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

struct IconTraits {
  using Type = HICON;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};

template <typename GdiType>
struct GdiObjectTraits {
  using Type = GdiType;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};

// Memory device contexts made with CreateCompatibleDC/CreateDC.
struct DcTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteDC(h); }
};

struct BstrTraits {
  using Type = BSTR;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::SysFreeString(h); }
};

// Memory the system hands out with LocalAlloc (security descriptors, formatted messages).
struct LocalMemoryTraits {
  using Type = HLOCAL;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::LocalFree(h); }
};

// Windows Installer handles are closed through msi.dll, which is loaded at run
// time; the msi layer installs the closing function when it binds the library.
using MsiHandleCloser = UINT(WINAPI*)(unsigned long handle);
void SetMsiHandleCloser(MsiHandleCloser closer) noexcept;
MsiHandleCloser GetMsiHandleCloser() noexcept;

struct MsiHandleTraits {
  using Type = unsigned long;  // MSIHANDLE
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept {
    if (MsiHandleCloser closer = GetMsiHandleCloser()) closer(h);
  }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueHKey = UniqueResource<RegKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueHIcon = UniqueResource<IconTraits>;
using UniqueHImageList = UniqueResource<ImageListTraits>;
using UniqueHBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueHFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueHBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueHPen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueHRgn = UniqueResource<GdiObjectTraits<HRGN>>;
using UniqueHdc = UniqueResource<DcTraits>;
using UniqueBstr = UniqueResource<BstrTraits>;
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
using UniqueMsiHandle = UniqueResource<MsiHandleTraits>;

// A top-level or message-only window that no parent destroys; released on the
// thread that created it (DestroyWindow refuses other threads).
struct WindowTraits {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// A device context borrowed from a window with GetDC; given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A VARIANT that is always cleared.
class UniqueVariant {
 public:
  UniqueVariant() noexcept { ::VariantInit(&value_); }
  ~UniqueVariant() { ::VariantClear(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  UniqueVariant(UniqueVariant&& other) noexcept {
    value_ = other.value_;
    ::VariantInit(&other.value_);
  }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept {
    if (this != &other) {
      ::VariantClear(&value_);
      value_ = other.value_;
      ::VariantInit(&other.value_);
    }
    return *this;
  }
  [[nodiscard]] VARIANT* Put() noexcept {
    ::VariantClear(&value_);
    return &value_;
  }
  [[nodiscard]] const VARIANT& Get() const noexcept { return value_; }

 private:
  VARIANT value_;
};

// Owns one reference of a COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  explicit ComPtr(T* adopted) noexcept : ptr_(adopted) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) noexcept {
    if (this != &other) {
      if (other.ptr_) other.ptr_->AddRef();
      Reset();
      ptr_ = other.ptr_;
    }
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = other.ptr_;
      other.ptr_ = nullptr;
    }
    return *this;
  }

  void Reset() noexcept {
    if (ptr_) {
      T* p = ptr_;
      ptr_ = nullptr;
      p->Release();
    }
  }
  [[nodiscard]] T* Get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }
  [[nodiscard]] T** Put() noexcept {
    Reset();
    return &ptr_;
  }
  [[nodiscard]] void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

 private:
  T* ptr_ = nullptr;
};

// Balances a successful CoInitializeEx on this thread.
class ComInitializer {
 public:
  ComInitializer() noexcept : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComInitializer() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  ComInitializer(const ComInitializer&) = delete;
  ComInitializer& operator=(const ComInitializer&) = delete;
  [[nodiscard]] bool Succeeded() const noexcept { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace platform
