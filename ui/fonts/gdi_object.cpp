#include "ui/fonts/gdi_object.h"

GdiObject::GdiObject(GdiBinding::ReleaseStep step) : binding_(new GdiBinding(step)) {}

GdiObject::GdiObject(const GdiObject& other) noexcept : binding_(other.binding_) { ++binding_->references; }

GdiObject& GdiObject::operator=(const GdiObject& other) noexcept {
  ShareBinding(other);
  return *this;
}

GdiObject::~GdiObject() { Unreference(binding_); }

void GdiObject::Unreference(GdiBinding* binding) noexcept {
  if (--binding->references != 0) return;
  binding->release(binding->handles);
  delete binding;
}

bool GdiObject::ShareBinding(const GdiObject& other) noexcept {
  if (other.binding_->release != binding_->release) return false;
  // Referenced before the own one is dropped, so sharing the binding one
  // already holds cannot free it.
  ++other.binding_->references;
  Unreference(binding_);
  binding_ = other.binding_;
  return true;
}

INT_PTR GdiObject::GetHandle(int slot) const noexcept {
  return slot >= 0 && slot < GdiBinding::kHandleSlots ? binding_->handles[slot] : 0;
}

INT_PTR* GdiObject::HandleAddress(int slot) noexcept {
  return slot >= 0 && slot < GdiBinding::kHandleSlots ? &binding_->handles[slot] : nullptr;
}

void GdiObject::SetHandle(int slot, INT_PTR value) noexcept {
  if (INT_PTR* address = HandleAddress(slot)) *address = value;
}
