#pragma once
// The reference server's data: accounts, sign-in tokens, photos and settings in one SQLite
// database, with the photo files in a folder beside it. All strings are kept as the bytes the
// client sent (code page 936), never re-encoded. Safe to call from several threads.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace refserver {

struct Account {
  std::string name;
  std::string password;
  std::string blogName;
  int64_t quota = 0;  // bytes per month
  int64_t used = 0;   // bytes this month
};

struct Photo {
  int64_t id = 0;
  std::string account;
  std::string title;
  std::string tags;
  std::string status;  // "1" public, "2" friends, "0" private
  int64_t size = 0;
  int64_t created = 0;  // seconds since the epoch
};

enum class TokenState { Unknown, Valid, Retired };

enum class StoreResult { Stored, NoSuchAccount, OverQuota, Failed };

class Store {
 public:
  // Opens (or makes) data/fernwick.db and data/photos/. Throws std::runtime_error on failure.
  explicit Store(const std::filesystem::path& dataDir);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Creates the account or, when it exists, sets its password, blog name and quota.
  void PutAccount(const Account& account);
  // False when the name is taken.
  bool CreateAccount(const Account& account);
  std::optional<Account> FindAccount(std::string_view name);
  // The account whose password matches, which is then the most recently signed-in one.
  std::optional<Account> SignIn(std::string_view name, std::string_view password);
  std::optional<std::string> LastSignedIn();

  std::string IssueToken(std::string_view account);
  TokenState CheckToken(std::string_view token, int64_t ttlSeconds, std::string* account);
  int RetireTokens(std::string_view account);  // every token of the account; how many

  // Checks the quota, writes the file and records the photo in one step.
  StoreResult StorePhoto(Photo& photo, std::string_view bytes);
  std::optional<Photo> FindPhoto(int64_t id);
  std::vector<Photo> PhotosOf(std::string_view account, int limit);
  std::filesystem::path PhotoFile(int64_t id) const;

  std::string Setting(std::string_view key, std::string_view fallback);
  void PutSetting(std::string_view key, std::string_view value);

 private:
  void Exec(const char* sql);
  std::optional<Account> FindAccountLocked(std::string_view name);

  std::filesystem::path dataDir_;
  std::mutex lock_;
  sqlite3* db_ = nullptr;
};

// "YYYY-MM" of now (UTC): usage counts within one month.
std::string CurrentMonth();

}  // namespace refserver
