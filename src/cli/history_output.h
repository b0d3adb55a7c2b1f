#pragma once
// How the history commands print: a table for people (columns lined up by
// display width, so Japanese names take two places a character), CSV and
// JSON for scripts, all in UTF-8.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace tolv::cli {

enum class OutputFormat { Table, Csv, Json };

// Adds --format table|csv|json to a subcommand.
void addFormatOption(CLI::App* sub, std::string& format);
OutputFormat parseFormat(const std::string& format);

// Rows of cells under a header; a column is right-aligned when marked.
class OutputTable {
 public:
  // `keys`: the CSV header and JSON names; `captions`: the table header.
  OutputTable(std::vector<std::string> keys, std::vector<std::string> captions, std::vector<bool> rightAligned);
  // A row of cells; `numeric` marks cells written bare in JSON (numbers).
  void add(std::vector<std::string> cells);
  void print(std::ostream& out, OutputFormat format, const std::vector<bool>& numeric) const;

 private:
  std::vector<std::string> keys_, captions_;
  std::vector<bool> right_;
  std::vector<std::vector<std::string>> rows_;
};

// Yen: "12,300" in a table, "12300" for scripts.
std::string yenCell(std::int64_t v, OutputFormat f);
// A ratio: "34.50%" in a table, "0.3450" for scripts.
std::string rateCell(std::int64_t num, std::int64_t den, OutputFormat f);

// Display width on a terminal: CP932's two-byte characters take two places.
std::size_t displayWidth(const std::string& utf8);

// Reads --from/--to (yyyymmdd); false with a message on stderr when one is
// not a real date.
bool checkPeriodDates(const std::string& from, const std::string& to);

}  // namespace tolv::cli
