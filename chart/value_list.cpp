#include "chart/value_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "chart/series.h"
#include "rtl/errors.h"

TChartValueList::TChartValueList(TChartSeries* owner, const rtl::Text& name) : name_(name), owner_(owner) {
  if (owner_) owner_->ValueLists().Add(this);
  EraseValues();
}

TChartValueList::~TChartValueList() {
  if (owner_) owner_->ValueLists().Remove(this);
}

void TChartValueList::Assign(const TChartValueList& source) {
  order_ = source.order_;
  date_time_ = source.date_time_;
  multiplier_ = source.multiplier_;
  value_source_ = source.value_source_;
  MarkStale();
}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= ValueCount()) throw rtl::ListIndexError(index);
}

double TChartValueList::ValueAt(int index) const {
  CheckIndex(index);
  return values_[index] * multiplier_;
}

void TChartValueList::StoreValueAt(int index, double value) {
  CheckIndex(index);
  values_[index] = value;
  MarkStale();
  if (owner_) owner_->NotifyDependents(TSeriesChange::Modified, index);
}

void TChartValueList::EraseValues() {
  // Clearing gives the memory back: a cleared history must not keep its peak allocation.
  std::vector<double>().swap(values_);
  MarkStale();
}

int TChartValueList::AppendValue(double value) {
  int index = ValueCount();
  if (order_ == loAscending && index > 0 && values_.back() > value) {
    // Scan back over the greater values so equal values keep their arrival order.
    while (index > 0 && values_[index - 1] > value) --index;
  } else if (order_ == loDescending && index > 0 && values_.back() < value) {
    while (index > 0 && values_[index - 1] < value) --index;
  }
  values_.insert(values_.begin() + index, value);
  StatisticsChangedAt(index);
  return index;
}

void TChartValueList::InsertValueAt(int index, double value) {
  if (index < 0 || index > ValueCount()) throw rtl::ListIndexError(index);
  values_.insert(values_.begin() + index, value);
  StatisticsChangedAt(index);
}

bool TChartValueList::AppendsLikeStableSort(std::span<const double> arriving) const {
  if (order_ == loNone) return true;
  auto is_nan = [](double value) { return std::isnan(value); };
  if (std::ranges::any_of(arriving, is_nan) || std::ranges::any_of(values_, is_nan)) return false;
  return order_ == loAscending ? std::ranges::is_sorted(values_) : std::ranges::is_sorted(values_, std::greater<>());
}

void TChartValueList::AppendUnordered(std::span<const double> values) {
  values_.insert(values_.end(), values.begin(), values.end());
  MarkStale();
}

namespace {

// A value with the index it came from, its key ordering like the values.
struct KeyedIndex {
  std::uint64_t key;
  int index;
};

// An unsigned key that orders like the value (which is no NaN): the bits of a negative value
// inverted whole, those of any other with the sign bit set. -0.0 keys as 0.0, which it equals.
std::uint64_t OrderKey(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value == 0 ? 0.0 : value);
  return bits >> 63 ? ~bits : bits | (std::uint64_t(1) << 63);
}

// Sorts by key, equal keys in their order: a least-significant-digit radix sort, one byte a
// pass, skipping the bytes every key shares. A comparison sort of random values spends most
// of its time on mispredicted branches; this costs a few passes in memory order.
void StableSortByKey(std::vector<KeyedIndex>& items) {
  std::array<std::array<std::size_t, 256>, 8> counts{};
  for (const KeyedIndex& item : items)
    for (int digit = 0; digit < 8; ++digit) ++counts[digit][(item.key >> (8 * digit)) & 0xFF];
  std::vector<KeyedIndex> sorted(items.size());
  for (int digit = 0; digit < 8; ++digit) {
    std::array<std::size_t, 256>& starts = counts[digit];
    if (std::ranges::find(starts, items.size()) != starts.end()) continue;
    std::size_t start = 0;
    for (std::size_t& count : starts) start += std::exchange(count, start);
    for (const KeyedIndex& item : items) sorted[starts[(item.key >> (8 * digit)) & 0xFF]++] = item;
    items.swap(sorted);
  }
}

}  // namespace

std::vector<int> TChartValueList::InsertionOrder(int from) const {
  const int count = ValueCount();
  if (order_ == loNone || from >= count) return {};
  // AppendValue puts a value after every stored one that is not greater (ascending) or not
  // smaller (descending): a stable sort of the new values, merged with the stored ones
  // first among equals, puts each in the same place.
  const bool ascending = order_ == loAscending;
  auto before = [&](int a, int b) { return ascending ? values_[a] < values_[b] : values_[a] > values_[b]; };
  // Values arriving in order after the stored ones stay where they are, the common case.
  const auto arrived = std::span(values_).subspan(from);
  const bool in_order = ascending ? std::ranges::is_sorted(arrived) : std::ranges::is_sorted(arrived, std::greater<>());
  if (in_order && (from == 0 || !before(from, from - 1))) return {};
  std::vector<KeyedIndex> arriving(count - from);
  for (int i = from; i < count; ++i) arriving[i - from] = {ascending ? OrderKey(values_[i]) : ~OrderKey(values_[i]), i};
  StableSortByKey(arriving);
  std::vector<int> order;
  order.reserve(count);
  int stored = 0;
  for (const KeyedIndex& next : arriving) {
    while (stored < from && !before(next.index, stored)) order.push_back(stored++);
    order.push_back(next.index);
  }
  while (stored < from) order.push_back(stored++);
  return order;
}

void TChartValueList::Reorder(std::span<const int> order) {
  std::vector<double> reordered(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) reordered[i] = values_[order[i]];
  values_ = std::move(reordered);
  MarkStale();
}

void TChartValueList::StatisticsChangedAt(int inserted) {
  // A value after all others extends what the full pass found with the same comparison and
  // the same next addition, so a growing history is not scanned again on every paint.
  const std::size_t count = values_.size();
  if (statistics_stale_ || count < 2 || inserted != int(count) - 1) {
    MarkStale();
    return;
  }
  AccumulateStatistics(count - 1);
}

void TChartValueList::RemoveValueAt(int index) {
  CheckIndex(index);
  values_.erase(values_.begin() + index);
  MarkStale();
}

void TChartValueList::RotateValues() {
  if (values_.empty()) return;
  std::rotate(values_.begin(), values_.begin() + 1, values_.end());
  MarkStale();
}

void TChartValueList::SwapValues(int i, int j) {
  CheckIndex(i);
  CheckIndex(j);
  std::swap(values_[i], values_[j]);
}

int TChartValueList::FindValue(double value) const {
  for (int index = 0; index < ValueCount(); ++index)
    if (values_[index] * multiplier_ == value) return index;
  return -1;
}

void TChartValueList::RecomputeStatistics() const {
  statistics_stale_ = false;
  if (values_.empty()) {
    highest_ = lowest_ = sum_ = magnitude_sum_ = 0;
    stored_ascending_ = true;
    return;
  }
  highest_ = lowest_ = sum_ = values_[0] * multiplier_;
  magnitude_sum_ = std::fabs(sum_);
  stored_ascending_ = !std::isnan(values_[0]);
  for (std::size_t index = 1; index < values_.size(); ++index) AccumulateStatistics(index);
}

void TChartValueList::AccumulateStatistics(std::size_t index) const {
  // False for a NaN on either side, as it must: NaN breaks every ordered search.
  stored_ascending_ = stored_ascending_ && values_[index] >= values_[index - 1];
  const double value = values_[index] * multiplier_;
  if (value < lowest_)
    lowest_ = value;
  else if (value > highest_)
    highest_ = value;
  sum_ += value;
  magnitude_sum_ += std::fabs(value);
}

double TChartValueList::HighestValue() const {
  if (statistics_stale_) RecomputeStatistics();
  return highest_;
}

bool TChartValueList::StoredValuesAscend() const {
  if (statistics_stale_) RecomputeStatistics();
  return stored_ascending_;
}

double TChartValueList::LowestValue() const {
  if (statistics_stale_) RecomputeStatistics();
  return lowest_;
}

double TChartValueList::ValueSum() const {
  if (statistics_stale_) RecomputeStatistics();
  return sum_;
}

double TChartValueList::MagnitudeSum() const {
  if (statistics_stale_) RecomputeStatistics();
  return magnitude_sum_;
}

void TChartValueList::RenumberValues() {
  for (int index = 0; index < ValueCount(); ++index) values_[index] = index;
  MarkStale();
}

void TChartValueList::SortValues() {
  if (order_ == loNone || !owner_) return;
  SortRange(0, ValueCount() - 1);
}

// Partition sort on the middle pivot that moves points only through the series'
// SwapPoints, so every list, the colours and the labels stay parallel.
void TChartValueList::SortRange(int low, int high) {
  while (low < high) {
    const double pivot = ValueAt((low + high) / 2);
    const bool descending = order_ == loDescending;
    auto before = [&](double value) { return descending ? value > pivot : value < pivot; };
    auto after = [&](double value) { return descending ? value < pivot : value > pivot; };
    int i = low;
    int j = high;
    while (i <= j) {
      while (before(ValueAt(i))) ++i;
      while (after(ValueAt(j))) --j;
      if (i <= j) {
        if (i != j) owner_->SwapPoints(i, j);
        ++i;
        --j;
      }
    }
    // Recurse into the smaller part and loop on the larger one to bound the stack depth.
    if (j - low < high - i) {
      SortRange(low, j);
      low = i;
    } else {
      SortRange(i, high);
      high = j;
    }
  }
}

void TChartValueList::SetDateTime(bool value) {
  if (date_time_ == value) return;
  date_time_ = value;
  if (owner_) owner_->RequestRepaint();
}

void TChartValueList::SetMultiplier(double value) {
  if (multiplier_ == value) return;
  multiplier_ = value;
  MarkStale();
  if (!owner_) return;
  owner_->NotifyDependents(TSeriesChange::Refreshed);
  owner_->RequestRepaint();
}

void TChartValueList::SetValueSource(const rtl::Text& value) {
  // Re-checking the data source is all a new field name asks for, and this chart has no
  // external data sources, so the name is only kept.
  value_source_ = value;
}

TChartValueList& TChartValueLists::operator[](int index) const {
  if (index < 0 || index >= Count()) throw rtl::ListIndexError(index);
  return *lists_[index];
}

void TChartValueLists::Remove(TChartValueList* list) {
  std::erase(lists_, list);
}
