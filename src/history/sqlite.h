#pragma once
// A thin RAII layer over SQLite's C API: a connection, prepared statements
// and a transaction that rolls back unless committed. Errors throw
// SqliteError; the history functions catch it at their boundary and report
// the message, so nothing throws through a front end.

#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tolv::history {

class SqliteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Statement;

class Connection {
 public:
  // Opens (read-write: creating) the database file; throws on failure.
  Connection(const std::string& path, bool readOnly);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void exec(const char* sql);
  Statement prepare(std::string_view sql);
  sqlite3* handle() const { return db_; }
  [[noreturn]] void fail(std::string_view what) const;

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(Connection& c, std::string_view sql);
  ~Statement();
  Statement(Statement&& o) noexcept : c_(o.c_), st_(o.st_) { o.st_ = nullptr; }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int i, std::int64_t v);
  Statement& bind(int i, std::string_view text);
  Statement& bindBlob(int i, std::string_view bytes);
  // True while a row is there; false when done.
  bool step();
  // Runs a statement that returns no row, then resets it for the next use.
  void run();
  void reset();

  std::int64_t integer(int col) const;
  std::string text(int col) const;
  std::string_view blob(int col) const;

 private:
  Connection& c_;
  sqlite3_stmt* st_ = nullptr;
};

// BEGIN IMMEDIATE ... COMMIT; rolled back when destroyed uncommitted.
class Transaction {
 public:
  explicit Transaction(Connection& c);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void commit();

 private:
  Connection& c_;
  bool open_ = true;
};

}  // namespace tolv::history
