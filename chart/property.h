// The chart engine's one rule for a property setter: a value equal to the stored one changes
// nothing and asks for nothing; a different one is stored, and only then is the change
// reported (a repaint request of the chart, or the owner's change notification). Setters
// validate first and throw before anything is stored, so a refused value keeps the old one.
#pragma once

#include <utility>

// Stores `value` when it differs from `field`; true when it did.
template <class T, class V>
bool StoreIfDifferent(T& field, V&& value) {
  if (field == value) return false;
  field = std::forward<V>(value);
  return true;
}

// StoreIfDifferent, then `changed()` when the value was stored; true when it was.
template <class T, class V, class Changed>
bool StoreAndReport(T& field, V&& value, Changed&& changed) {
  if (!StoreIfDifferent(field, std::forward<V>(value))) return false;
  changed();
  return true;
}
