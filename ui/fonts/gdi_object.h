// ui/fonts: the GDI object family. GdiObject is the shared binding behind
// fonts, font families, font collections, graphics and icons; the GDI+
// objects themselves live in this room, the icon in ui/icons.
//
// Like a window object, a GDI object keeps no state of its own: it points to
// a reference-counted binding that copies of the object share. The binding
// holds 16 pointer-sized handle slots (slot 0 the object's native handle)
// and the release step of the class that made it, which frees the handles
// when the last reference goes.
#pragma once
#include <windows.h>

#include <atomic>

struct GdiBinding {
  static constexpr int kHandleSlots = 16;
  using ReleaseStep = void (*)(INT_PTR* handles);

  explicit GdiBinding(ReleaseStep step) : release(step) {}

  std::atomic<LONG> references{1};
  const ReleaseStep release;
  INT_PTR handles[kHandleSlots] = {};
};

class GdiObject {
 public:
  // Copies share the binding.
  GdiObject(const GdiObject& other) noexcept;
  GdiObject& operator=(const GdiObject& other) noexcept;
  ~GdiObject();

  GdiBinding* Binding() const noexcept { return binding_; }
  // Drops this object's binding and shares `other`'s. Bindings of another
  // class (another release step) are refused.
  bool ShareBinding(const GdiObject& other) noexcept;
  GdiBinding** BindingAddress() noexcept { return &binding_; }
  INT_PTR* Handles() const noexcept { return binding_->handles; }
  // Slots outside 0-15 read as 0, have no address and ignore writes.
  INT_PTR GetHandle(int slot) const noexcept;
  INT_PTR* HandleAddress(int slot) noexcept;
  void SetHandle(int slot, INT_PTR value) noexcept;

 protected:
  // A new binding with one reference, released by `step`.
  explicit GdiObject(GdiBinding::ReleaseStep step);

 private:
  static void Unreference(GdiBinding* binding) noexcept;

  GdiBinding* binding_;
};

// A GDI object whose slot 0 holds one `Handle`, freed by `Close`.
template <typename Handle, auto Close>
class GdiHandleObject : public GdiObject {
 public:
  GdiHandleObject() : GdiObject(&CloseSlot) {}

  Handle Native() const noexcept { return reinterpret_cast<Handle>(GetHandle(0)); }
  // The class's release step: frees the handle and clears the slot.
  void Release() noexcept { CloseSlot(Handles()); }
  // Takes over `handle`; the one held is freed first.
  void Adopt(Handle handle) noexcept {
    Release();
    SetHandle(0, reinterpret_cast<INT_PTR>(handle));
  }

 protected:
  // Frees the held handle, then keeps what `make(Handle*)` produces when it
  // reports success; the object is empty after a failure.
  template <typename Make>
  bool Remake(Make make) {
    Release();
    Handle made{};
    if (!make(&made) || !made) return false;
    SetHandle(0, reinterpret_cast<INT_PTR>(made));
    return true;
  }

 private:
  static void CloseSlot(INT_PTR* handles) noexcept {
    if (handles[0]) Close(reinterpret_cast<Handle>(handles[0]));
    handles[0] = 0;
  }
};
