// The connection table file at 100 000 rows × 20 shares: saving and loading through the
// program's own code (loading into the model ListView1 shows), against a plain reader that
// only reads the same file with std::ifstream + getline and splits each line at the commas.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/connection_table_model.h"
#include "core/connection_table.h"
#include "core/table_file.h"

namespace {

constexpr int kShares = 20;

core::ConnectionTable& TableOfRows(int rows) {
  static core::ConnectionTable model;
  if (model.RowCount() == rows) return model;
  model.Clear();
  model.AddColumn("Time");
  for (int share = 0; share < kShares; ++share) model.AddColumn("share" + std::to_string(share));
  std::vector<core::ConnectionTable::Row> content;
  content.reserve(static_cast<size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    core::ConnectionTable::Row entry{"08.12.2026  " + std::to_string(row % 24) + ":05:07", {}};
    for (int share = 0; share < kShares; ++share) entry.values.push_back(std::to_string((row + share) % 60));
    content.push_back(std::move(entry));
  }
  model.AppendRows(std::move(content));
  return model;
}

const std::filesystem::path& SavedFile(int rows) {
  static QTemporaryDir directory;
  static std::filesystem::path file;
  static int saved_rows = -1;
  if (saved_rows != rows) {
    file = QDir(directory.path()).filesystemPath() / "list.txt";
    core::SaveConnectionTable(TableOfRows(rows), file);
    saved_rows = rows;
  }
  return file;
}

void BM_TableSave(benchmark::State& state) {
  const core::ConnectionTable& table = TableOfRows(static_cast<int>(state.range(0)));
  QTemporaryDir directory;
  const std::filesystem::path file = QDir(directory.path()).filesystemPath() / "list.txt";
  for (auto _ : state) core::SaveConnectionTable(table, file);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableSave)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TableLoad(benchmark::State& state) {
  const std::filesystem::path& file = SavedFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    core::ConnectionTable table;
    ConnectionTableModel model(table);
    core::LoadConnectionTable(table, file);
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableLoad)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PlainLoad(benchmark::State& state) {
  const std::filesystem::path& file = SavedFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<std::string> fields;
      size_t start = 0;
      for (size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', start)) {
        fields.emplace_back(line, start, comma - start);
        start = comma + 1;
      }
      fields.emplace_back(line, start);
      rows.push_back(std::move(fields));
    }
    benchmark::DoNotOptimize(rows.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlainLoad)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
