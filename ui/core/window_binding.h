// WindowBinding: the reference-counted record of one native window, shared
// by every object attached to it. All state lives in its property map; the
// messages of the window run through its chain of class levels.
#pragma once
#include <windows.h>

#include <optional>
#include <type_traits>
#include <utility>

#include "ui/core/event_callback.h"
#include "ui/core/property_map.h"

class WindowBinding;

struct WindowMessage {
  HWND window;
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
};

// One class level of the handler chain. A level's handler deals with the
// messages that belong to its class and sets `handled` to end the chain
// with its result; otherwise the level below runs. A null entry leaves
// everything to the level below. DetachWindow runs on every level, most
// derived first, each releasing what its class owns.
struct WindowLevel {
  const WindowLevel* below;
  LRESULT (*handleMessage)(WindowBinding& binding, const WindowMessage& message, bool& handled);
  // Called with the parent's message for a child bound to this level.
  LRESULT (*handleReflected)(WindowBinding& binding, const WindowMessage& message, bool& handled);
  void (*detachWindow)(WindowBinding& binding);
};

class WindowBinding {
 public:
  // Reference count 1, an empty map, `level` at the top of the chain.
  explicit WindowBinding(const WindowLevel& level) : level_(&level) {}
  WindowBinding(const WindowBinding&) = delete;
  WindowBinding& operator=(const WindowBinding&) = delete;

  // The handler table, in entry order.
  int Query() const noexcept { return 1; }
  void AddRef() noexcept { InterlockedIncrement(&references_); }
  // The last release detaches the window and frees the binding.
  void Release() noexcept;
  LRESULT HandleMessage(const WindowMessage& message, bool& handled);
  LRESULT HandleReflected(const WindowMessage& message, bool& handled);
  void DetachWindow();

  LONG RefCount() const noexcept { return references_; }
  // Each class level puts itself on top when its object is constructed.
  void PutLevel(const WindowLevel& level) noexcept { level_ = &level; }
  const WindowLevel& Level() const noexcept { return *level_; }

  PropertyMap& Properties() noexcept { return properties_; }
  INT_PTR Get(const char* key) const { return properties_.Get(key); }
  bool Set(const char* key, INT_PTR value) { return properties_.Set(key, value); }
  bool Remove(const char* key) { return properties_.Remove(key); }
  bool Has(const char* key) const { return properties_.Has(key); }
  // The bound window ("hWnd"); null when unbound.
  HWND Window() const { return reinterpret_cast<HWND>(Get("hWnd")); }
  // The handle stored under a key, cast to its type.
  template <typename Handle>
  Handle GetHandle(const char* key) const {
    return reinterpret_cast<Handle>(Get(key));
  }
  // Removes a key that owns a handle, passing the handle to its release
  // function first (when there is one).
  template <typename Handle, typename Free>
  void FreeHandle(const char* key, Free free) {
    if (auto handle = GetHandle<Handle>(key)) free(handle);
    Remove(key);
  }

  // Calls the handler stored under the event key; nothing without one.
  template <typename... Args>
  std::optional<INT_PTR> Call(const EventKey<Args...>& event, std::type_identity_t<Args>... args) const {
    auto handler = reinterpret_cast<typename EventKey<Args...>::Handler>(Get(event.name));
    if (!handler) return std::nullopt;
    return handler(args...);
  }
  template <typename... Args>
  void SetEvent(const EventKey<Args...>& event, typename EventKey<Args...>::Handler handler) {
    Set(event.name, reinterpret_cast<INT_PTR>(handler));
  }

  // Binds the window to this binding without subclassing: for windows whose
  // own procedure (a dialog procedure, a class procedure) routes messages to
  // the toolkit. Stores "hWnd" and registers the window.
  void Register(HWND window);
  // Unbinds: restores "oldWndProp" as the window's procedure, removes the
  // registry entry and "hWnd", and releases "zyLayout".
  void Unbind();

 private:
  ~WindowBinding();

  volatile LONG references_ = 1;
  const WindowLevel* level_;
  PropertyMap properties_{MapKind::Text, MapKind::Integer};
};

// One counted reference to a binding.
class BindingRef {
 public:
  BindingRef() noexcept = default;
  // Takes over a reference the caller holds.
  static BindingRef Adopt(WindowBinding* binding) noexcept { return BindingRef(binding); }
  // Adds a reference of its own.
  static BindingRef Share(WindowBinding* binding) noexcept {
    if (binding) binding->AddRef();
    return BindingRef(binding);
  }
  BindingRef(BindingRef&& other) noexcept : binding_(std::exchange(other.binding_, nullptr)) {}
  BindingRef& operator=(BindingRef other) noexcept {
    std::swap(binding_, other.binding_);
    return *this;
  }
  ~BindingRef() {
    if (binding_) binding_->Release();
  }

  WindowBinding* get() const noexcept { return binding_; }
  WindowBinding* operator->() const noexcept { return binding_; }
  WindowBinding& operator*() const noexcept { return *binding_; }
  WindowBinding* const* address() const noexcept { return &binding_; }

 private:
  explicit BindingRef(WindowBinding* binding) noexcept : binding_(binding) {}
  WindowBinding* binding_ = nullptr;
};
