#include "history/sqlite.h"

namespace tolv::history {

Connection::Connection(const std::string& path, bool readOnly) {
  const int flags = readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  if (sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError(message);
  }
  // A writer holding the file for a moment (tolv-cli importing while the
  // desktop reads) is waited for instead of failing at once.
  sqlite3_busy_timeout(db_, 10000);
}

Connection::~Connection() { sqlite3_close(db_); }

void Connection::fail(std::string_view what) const {
  throw SqliteError(std::string(what) + ": " + sqlite3_errmsg(db_));
}

void Connection::exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::string m = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw SqliteError(m);
  }
}

Statement Connection::prepare(std::string_view sql) { return Statement(*this, sql); }

Statement::Statement(Connection& c, std::string_view sql) : c_(c) {
  if (sqlite3_prepare_v2(c.handle(), sql.data(), static_cast<int>(sql.size()), &st_, nullptr) != SQLITE_OK) {
    c.fail("prepare");
  }
}

Statement::~Statement() { sqlite3_finalize(st_); }

Statement& Statement::bind(int i, std::int64_t v) {
  if (sqlite3_bind_int64(st_, i, v) != SQLITE_OK) c_.fail("bind");
  return *this;
}

Statement& Statement::bind(int i, std::string_view text) {
  if (sqlite3_bind_text(st_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK) {
    c_.fail("bind");
  }
  return *this;
}

Statement& Statement::bindBlob(int i, std::string_view bytes) {
  if (sqlite3_bind_blob(st_, i, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK) {
    c_.fail("bind");
  }
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(st_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  c_.fail("step");
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(st_);
  sqlite3_clear_bindings(st_);
}

std::int64_t Statement::integer(int col) const { return sqlite3_column_int64(st_, col); }

std::string Statement::text(int col) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, col));
  return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st_, col))) : std::string();
}

std::string_view Statement::blob(int col) const {
  const auto* p = static_cast<const char*>(sqlite3_column_blob(st_, col));
  return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(st_, col))) : std::string_view();
}

Transaction::Transaction(Connection& c) : c_(c) { c_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) sqlite3_exec(c_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  c_.exec("COMMIT");
  open_ = false;
}

}  // namespace tolv::history
