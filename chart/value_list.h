// One column of point values of a series (X, Y or an extra list) with its ordering rule,
// its Multiplier and lazily recomputed statistics, and the list of a series' columns.
// Values sit in one contiguous array; points that arrive in order cost one comparison.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "rtl/text.h"

class TChartSeries;

// Insertion rule of AppendValue.
enum TChartListOrder : std::uint8_t { loNone, loAscending, loDescending };

class TChartValueList {
 public:
  // With an owner the list appends itself to the owner's ValueLists and leaves them when
  // destroyed; the series must outlive its lists. Multiplier 1, Order loNone, DateTime false.
  TChartValueList(TChartSeries* owner, const rtl::Text& name);
  virtual ~TChartValueList();
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  // Copies Order, DateTime, Multiplier and ValueSource; not Name, not the values.
  void Assign(const TChartValueList& source);

  // Stored value times Multiplier. Index outside 0..count-1: rtl::ListIndexError.
  double ValueAt(int index) const;
  // Overwrites the stored (unscaled) value and sends the modified event to dependents.
  void StoreValueAt(int index, double value);
  // Releases every value (capacity 0).
  void EraseValues();
  // Stores honouring Order (unscaled comparison); a value equal to stored ones goes after
  // them. Returns the index of the new value.
  int AppendValue(double value);
  // index 0..count; later values shift.
  void InsertValueAt(int index, double value);
  // --- batches: AppendValue for many values at once, in O(N log N) ---
  // Whether AppendValue, called for each of `arriving` in turn, would place them as one
  // stable sort of them merged after the stored values does: Order is loNone, or the stored
  // values follow Order and no value is NaN (NaN stops the insertion scan wherever it lies).
  bool AppendsLikeStableSort(std::span<const double> arriving) const;
  // Stores the values at the end whatever the Order; InsertionOrder then tells where
  // AppendValue would have put them.
  void AppendUnordered(std::span<const double> values);
  // The order of all values once values [from, count) are placed as AppendValue places them,
  // each after the equal ones before it: entry i is the current index of the value that goes
  // to index i. Empty when every value is in place already. Needs AppendsLikeStableSort.
  std::vector<int> InsertionOrder(int from) const;
  // Value i := the current value order[i]; `order` is a permutation of 0..count-1.
  void Reorder(std::span<const int> order);
  int ValueCount() const { return static_cast<int>(values_.size()); }
  void RemoveValueAt(int index);
  // First value to the end, the others one place forward.
  void RotateValues();
  // Exchanges two stored values (used by the series' SwapPoints; no notification).
  void SwapValues(int i, int j);

  double LastValue() const { return ValueAt(ValueCount() - 1); }
  // First index whose ValueAt equals value exactly, else -1.
  int FindValue(double value) const;
  // Statistics over the scaled values; all 0 for an empty list.
  double HighestValue() const;
  double LowestValue() const;
  double ValueSum() const;
  // The stored values never decrease and hold no NaN (Order only says how values are
  // inserted; stored values may be overwritten in any order). Lazy like the statistics.
  bool StoredValuesAscend() const;
  double MagnitudeSum() const;
  // Stores 0, 1, 2, ... into the values.
  void RenumberValues();
  // Sorts the owning series by this list (through its SwapPoints) unless Order is loNone.
  void SortValues();

  // The raw stored values, unscaled; for the drawing loops that apply Multiplier themselves.
  std::span<const double> StoredValues() const { return values_; }

  bool DateTime() const { return date_time_; }  // values are days since 1899-12-30
  void SetDateTime(bool value);
  double Multiplier() const { return multiplier_; }
  void SetMultiplier(double value);
  const rtl::Text& Name() const { return name_; }
  void SetName(const rtl::Text& value) { name_ = value; }
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder value) { order_ = value; }
  const rtl::Text& ValueSource() const { return value_source_; }
  void SetValueSource(const rtl::Text& value);
  // Value staged by the series' add operations before it is stored.
  double PendingValue() const { return pending_value_; }
  void SetPendingValue(double value) { pending_value_ = value; }
  TChartSeries* Owner() const { return owner_; }

 private:
  void CheckIndex(int index) const;
  void MarkStale() { statistics_stale_ = true; }
  // After a value was inserted at `inserted`.
  void StatisticsChangedAt(int inserted);
  void RecomputeStatistics() const;
  // Takes value `index` (not the first) into the statistics of the values before it.
  void AccumulateStatistics(std::size_t index) const;
  void SortRange(int low, int high);

  bool date_time_ = false;
  std::vector<double> values_;
  mutable double highest_ = 0;
  mutable double lowest_ = 0;
  double multiplier_ = 1.0;
  rtl::Text name_;
  TChartListOrder order_ = loNone;
  TChartSeries* owner_;
  double pending_value_ = 0;
  mutable double sum_ = 0;
  mutable double magnitude_sum_ = 0;
  rtl::Text value_source_;
  mutable bool statistics_stale_ = true;
  mutable bool stored_ascending_ = true;
};

// The value lists of one series in creation order: X, Y, then extra lists. Does not own them.
class TChartValueLists {
 public:
  int Count() const { return static_cast<int>(lists_.size()); }
  // Index outside 0..Count-1: rtl::ListIndexError.
  TChartValueList& operator[](int index) const;
  void Add(TChartValueList* list) { lists_.push_back(list); }
  void Remove(TChartValueList* list);
  auto begin() const { return lists_.begin(); }
  auto end() const { return lists_.end(); }

 private:
  std::vector<TChartValueList*> lists_;
};
