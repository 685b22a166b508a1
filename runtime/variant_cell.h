// Variant cells: the VARIANTs through which callers keep automation values
// between calls, and the operations on them.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <optional>

#include "runtime/bytes.h"
#include "runtime/text.h"
#include "runtime/typed_arg.h"

// An owned cell, cleared when it goes. Starts as VT_EMPTY.
class VariantCell {
 public:
  VariantCell() noexcept { VariantInit(&cell_); }
  VariantCell(VariantCell&& other) noexcept : cell_(other.cell_) { VariantInit(&other.cell_); }
  VariantCell& operator=(VariantCell&& other) noexcept {
    if (this != &other) {
      VariantClear(&cell_);
      cell_ = other.cell_;
      VariantInit(&other.cell_);
    }
    return *this;
  }
  VariantCell(const VariantCell&) = delete;
  VariantCell& operator=(const VariantCell&) = delete;
  ~VariantCell() { VariantClear(&cell_); }

  VARIANT& get() noexcept { return cell_; }
  const VARIANT& get() const noexcept { return cell_; }
  VARTYPE type() const noexcept { return V_VT(&cell_); }

 private:
  VARIANT cell_;
};

// Frees what the cell holds and leaves it VT_EMPTY.
void ClearVariant(VARIANT& cell);

// Clears `target`, then copies `source` into it when there is one.
void CopyVariant(VARIANT& target, const VARIANT* source);

// The cell's value as a new text: a logical gives "真" or "假", anything
// else its platform text form; null when it has none. For an array cell,
// element `index` (1-based; absent or below 1: the first), null when the
// array has fewer elements.
Text VariantToText(const VARIANT& cell, std::optional<int> index = {});

// The cell's value as a new byte set: a byte array as it is, anything else
// (an array element chosen as in VariantToText) changed to a byte array by
// the platform; null when it cannot be.
Bytes VariantToBytes(const VARIANT& cell, std::optional<int> index = {});

// Stores a value into the cell:
// - an absent value (type code 0) empties the cell;
// - a byte set, or a runtime array (kind | ValueType::ByRef, the value being
//   the array block), replaces the cell by a one-dimensional array of the
//   kind (false for an empty array or a kind without an element form);
// - any other value replaces the contents of a cell that is not an array
//   (an object is stored as VT_UNKNOWN with a reference of its own);
// - into an array cell, the value goes to element `index` (1-based; default
//   the first), changed to the element type; false when the array is too
//   short or the value cannot be changed.
bool SetVariant(VARIANT& cell, const TypedArg& value, std::optional<int> index = {});
