#include "cli/history_output.h"

#include <iostream>

#include "core/dates.h"
#include "core/numformat.h"
#include "history/program_stats.h"
#include "core/text.h"

namespace tolv::cli {

namespace {

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string jsonString(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      q += '\\';
      q += c;
    } else if (u < 0x20) {
      static const char* hex = "0123456789abcdef";
      q += "\\u00";
      q += hex[u >> 4];
      q += hex[u & 15];
    } else {
      q += c;
    }
  }
  return q + "\"";
}

}  // namespace

void addFormatOption(CLI::App* sub, std::string& format) {
  sub->add_option("--format", format, "table (default, for people), csv or json (UTF-8, for scripts)")
      ->check(CLI::IsMember({"table", "csv", "json"}));
}

OutputFormat parseFormat(const std::string& format) {
  if (format == "csv") return OutputFormat::Csv;
  if (format == "json") return OutputFormat::Json;
  return OutputFormat::Table;
}

std::string yenCell(std::int64_t v, OutputFormat f) {
  return f == OutputFormat::Table ? formatNumber(static_cast<double>(v), "#,##0") : std::to_string(v);
}

std::string rateCell(std::int64_t num, std::int64_t den, OutputFormat f) {
  return f == OutputFormat::Table ? formatPercent(num, den) : formatRatio(num, den);
}

std::size_t displayWidth(const std::string& utf8) { return lenBytes(utf8); }

OutputTable::OutputTable(std::vector<std::string> keys, std::vector<std::string> captions,
                         std::vector<bool> rightAligned)
    : keys_(std::move(keys)), captions_(std::move(captions)), right_(std::move(rightAligned)) {}

void OutputTable::add(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

void OutputTable::print(std::ostream& out, OutputFormat format, const std::vector<bool>& numeric) const {
  if (format == OutputFormat::Csv) {
    for (std::size_t i = 0; i < keys_.size(); ++i) out << (i ? "," : "") << keys_[i];
    out << '\n';
    for (const auto& row : rows_) {
      for (std::size_t i = 0; i < row.size(); ++i) out << (i ? "," : "") << csvField(row[i]);
      out << '\n';
    }
    return;
  }
  if (format == OutputFormat::Json) {
    out << "[";
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      out << (r ? ",\n " : "\n ") << "{";
      for (std::size_t i = 0; i < rows_[r].size(); ++i) {
        const bool bare = i < numeric.size() && numeric[i] && !rows_[r][i].empty();
        out << (i ? ", " : "") << jsonString(keys_[i]) << ": " << (bare ? rows_[r][i] : jsonString(rows_[r][i]));
      }
      out << "}";
    }
    out << (rows_.empty() ? "]\n" : "\n]\n");
    return;
  }
  std::vector<std::size_t> width(captions_.size());
  for (std::size_t i = 0; i < captions_.size(); ++i) width[i] = displayWidth(captions_[i]);
  for (const auto& row : rows_) {
    for (std::size_t i = 0; i < row.size() && i < width.size(); ++i) width[i] = std::max(width[i], displayWidth(row[i]));
  }
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (std::size_t i = 0; i < cells.size() && i < width.size(); ++i) {
      const std::string pad(width[i] - displayWidth(cells[i]), ' ');
      if (i) text += "  ";
      text += right_[i] ? pad + cells[i] : cells[i] + pad;
    }
    out << trimRight(text) << '\n';
  };
  line(captions_);
  for (const auto& row : rows_) line(row);
}

bool checkPeriodDates(const std::string& from, const std::string& to) {
  for (const std::string* d : {&from, &to}) {
    if (!d->empty() && !parseYmd(*d)) {
      std::cerr << "tolv-cli: --from and --to take real dates as YYYYMMDD, not \"" << *d << "\"\n";
      return false;
    }
  }
  return true;
}

}  // namespace tolv::cli
