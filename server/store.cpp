#include "store.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <random>
#include <stdexcept>

namespace refserver {

namespace {

// One prepared statement, finalized on every path.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      throw std::runtime_error(std::string("sqlite prepare: ") + sqlite3_errmsg(db));
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::string_view text) {
    sqlite3_bind_blob(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& Bind(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
    return *this;
  }
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw std::runtime_error(std::string("sqlite step: ") + sqlite3_errmsg(db_));
  }
  std::string Text(int column) {
    const void* data = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::string(static_cast<const char*>(data), size) : std::string();
  }
  int64_t Int(int column) { return sqlite3_column_int64(stmt_, column); }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

Photo ReadPhoto(Statement& s) {
  Photo p;
  p.id = s.Int(0);
  p.account = s.Text(1);
  p.title = s.Text(2);
  p.tags = s.Text(3);
  p.status = s.Text(4);
  p.size = s.Int(5);
  p.created = s.Int(6);
  return p;
}

}  // namespace

std::string CurrentMonth() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[16];
  std::strftime(text, sizeof(text), "%Y-%m", &utc);
  return text;
}

Store::Store(const std::filesystem::path& dataDir) : dataDir_(dataDir) {
  std::filesystem::create_directories(dataDir_ / "photos");
  const std::string file = (dataDir_ / "fernwick.db").string();
  if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    throw std::runtime_error("cannot open " + file + ": " + message);
  }
  sqlite3_busy_timeout(db_, 5000);
  Exec("PRAGMA journal_mode=WAL");
  Exec(
      "CREATE TABLE IF NOT EXISTS accounts(name BLOB PRIMARY KEY, password BLOB, blogname BLOB,"
      " quota INTEGER, used INTEGER, used_month BLOB, last_signin INTEGER DEFAULT 0);"
      "CREATE TABLE IF NOT EXISTS tokens(token BLOB PRIMARY KEY, account BLOB, issued INTEGER,"
      " retired INTEGER DEFAULT 0);"
      "CREATE TABLE IF NOT EXISTS photos(id INTEGER PRIMARY KEY AUTOINCREMENT, account BLOB, title BLOB,"
      " tags BLOB, status BLOB, size INTEGER, created INTEGER);"
      "CREATE TABLE IF NOT EXISTS settings(key BLOB PRIMARY KEY, value BLOB);");
}

Store::~Store() { sqlite3_close(db_); }

void Store::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown";
    sqlite3_free(error);
    throw std::runtime_error("sqlite: " + message);
  }
}

std::optional<Account> Store::FindAccountLocked(std::string_view name) {
  Statement s(db_, "SELECT name, password, blogname, quota, used, used_month FROM accounts WHERE name = ?");
  s.Bind(1, name);
  if (!s.Step()) return std::nullopt;
  Account a{s.Text(0), s.Text(1), s.Text(2), s.Int(3), s.Int(4)};
  if (s.Text(5) != CurrentMonth()) a.used = 0;  // a new month starts with nothing used
  return a;
}

void Store::PutAccount(const Account& account) {
  std::lock_guard guard(lock_);
  Statement s(db_,
              "INSERT INTO accounts(name, password, blogname, quota, used, used_month) VALUES(?, ?, ?, ?, ?, ?)"
              " ON CONFLICT(name) DO UPDATE SET password = excluded.password, blogname = excluded.blogname,"
              " quota = excluded.quota");
  s.Bind(1, account.name).Bind(2, account.password).Bind(3, account.blogName).Bind(4, account.quota);
  s.Bind(5, account.used).Bind(6, CurrentMonth());
  s.Step();
}

bool Store::CreateAccount(const Account& account) {
  std::lock_guard guard(lock_);
  if (FindAccountLocked(account.name)) return false;
  Statement s(db_, "INSERT INTO accounts(name, password, blogname, quota, used, used_month) VALUES(?, ?, ?, ?, 0, ?)");
  s.Bind(1, account.name).Bind(2, account.password).Bind(3, account.blogName).Bind(4, account.quota);
  s.Bind(5, CurrentMonth());
  s.Step();
  return true;
}

std::optional<Account> Store::FindAccount(std::string_view name) {
  std::lock_guard guard(lock_);
  return FindAccountLocked(name);
}

std::optional<Account> Store::SignIn(std::string_view name, std::string_view password) {
  std::lock_guard guard(lock_);
  auto account = FindAccountLocked(name);
  if (!account || account->password != password) return std::nullopt;
  // Ordered by a counter rather than the clock: two sign-ins in one second keep their order.
  Statement s(db_,
              "UPDATE accounts SET last_signin = (SELECT COALESCE(MAX(last_signin), 0) + 1 FROM accounts)"
              " WHERE name = ?");
  s.Bind(1, name);
  s.Step();
  return account;
}

std::optional<std::string> Store::LastSignedIn() {
  std::lock_guard guard(lock_);
  Statement s(db_, "SELECT name FROM accounts WHERE last_signin > 0 ORDER BY last_signin DESC LIMIT 1");
  if (!s.Step()) return std::nullopt;
  return s.Text(0);
}

std::string Store::IssueToken(std::string_view account) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device random;
  std::string token;
  for (int i = 0; i < 32; ++i) token += kHex[random() % 16];
  std::lock_guard guard(lock_);
  Statement s(db_, "INSERT INTO tokens(token, account, issued) VALUES(?, ?, ?)");
  s.Bind(1, token).Bind(2, account).Bind(3, Now());
  s.Step();
  return token;
}

TokenState Store::CheckToken(std::string_view token, int64_t ttlSeconds, std::string* account) {
  std::lock_guard guard(lock_);
  Statement s(db_, "SELECT account, issued, retired FROM tokens WHERE token = ?");
  s.Bind(1, token);
  if (!s.Step()) return TokenState::Unknown;
  if (account) *account = s.Text(0);
  if (s.Int(2) != 0 || Now() - s.Int(1) > ttlSeconds) return TokenState::Retired;
  return TokenState::Valid;
}

int Store::RetireTokens(std::string_view account) {
  std::lock_guard guard(lock_);
  Statement s(db_, "UPDATE tokens SET retired = 1 WHERE account = ? AND retired = 0");
  s.Bind(1, account);
  s.Step();
  return sqlite3_changes(db_);
}

StoreResult Store::StorePhoto(Photo& photo, std::string_view bytes) {
  std::lock_guard guard(lock_);
  auto account = FindAccountLocked(photo.account);
  if (!account) return StoreResult::NoSuchAccount;
  if (static_cast<int64_t>(bytes.size()) > account->quota - account->used) return StoreResult::OverQuota;
  Exec("BEGIN IMMEDIATE");
  try {
    photo.size = static_cast<int64_t>(bytes.size());
    photo.created = Now();
    Statement insert(db_, "INSERT INTO photos(account, title, tags, status, size, created) VALUES(?, ?, ?, ?, ?, ?)");
    insert.Bind(1, photo.account).Bind(2, photo.title).Bind(3, photo.tags).Bind(4, photo.status);
    insert.Bind(5, photo.size).Bind(6, photo.created);
    insert.Step();
    photo.id = sqlite3_last_insert_rowid(db_);
    Statement usage(db_, "UPDATE accounts SET used = ?, used_month = ? WHERE name = ?");
    usage.Bind(1, account->used + photo.size).Bind(2, CurrentMonth()).Bind(3, photo.account);
    usage.Step();
    // The file is complete before the row that names it is committed.
    const auto file = PhotoFile(photo.id);
    const auto partial = file.string() + ".part";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) throw std::runtime_error("cannot write " + partial);
    }
    std::filesystem::rename(partial, file);
    Exec("COMMIT");
    return StoreResult::Stored;
  } catch (const std::exception&) {
    Exec("ROLLBACK");
    return StoreResult::Failed;
  }
}

std::optional<Photo> Store::FindPhoto(int64_t id) {
  std::lock_guard guard(lock_);
  Statement s(db_, "SELECT id, account, title, tags, status, size, created FROM photos WHERE id = ?");
  s.Bind(1, id);
  if (!s.Step()) return std::nullopt;
  return ReadPhoto(s);
}

std::vector<Photo> Store::PhotosOf(std::string_view account, int limit) {
  std::lock_guard guard(lock_);
  Statement s(db_,
              "SELECT id, account, title, tags, status, size, created FROM photos WHERE account = ?"
              " ORDER BY id DESC LIMIT ?");
  s.Bind(1, account).Bind(2, int64_t{limit});
  std::vector<Photo> photos;
  while (s.Step()) photos.push_back(ReadPhoto(s));
  return photos;
}

std::filesystem::path Store::PhotoFile(int64_t id) const { return dataDir_ / "photos" / (std::to_string(id) + ".jpg"); }

std::string Store::Setting(std::string_view key, std::string_view fallback) {
  std::lock_guard guard(lock_);
  Statement s(db_, "SELECT value FROM settings WHERE key = ?");
  s.Bind(1, key);
  if (!s.Step()) return std::string(fallback);
  return s.Text(0);
}

void Store::PutSetting(std::string_view key, std::string_view value) {
  std::lock_guard guard(lock_);
  Statement s(db_,
              "INSERT INTO settings(key, value) VALUES(?, ?) ON CONFLICT(key) DO UPDATE SET value = excluded.value");
  s.Bind(1, key).Bind(2, value);
  s.Step();
}

}  // namespace refserver
