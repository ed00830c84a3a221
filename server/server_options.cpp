#include "server_options.h"

#include <fstream>
#include <sstream>

#include "gbk_text.h"

namespace refserver {

bool IsLoopbackHost(const std::string& host) {
  return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

bool ParseServerOptions(int argc, char** argv, ServerOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) {
      error = "missing value after " + flag;
      return false;
    }
    const std::string value = argv[++i];
    if (flag == "--host") {
      options.host = value;
    } else if (flag == "--port") {
      options.port = std::atoi(value.c_str());
    } else if (flag == "--port-file") {
      options.portFile = value;
    } else if (flag == "--data") {
      options.dataDir = value;
    } else if (flag == "--seed") {
      options.seedFile = value;
    } else if (flag == "--setting") {
      const size_t equals = value.find('=');
      if (equals == std::string::npos) {
        error = "--setting wants key=value";
        return false;
      }
      options.settings.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else {
      error = "unknown option " + flag;
      return false;
    }
  }
  if (!IsLoopbackHost(options.host)) {
    error = "the reference server listens on loopback only, not on " + options.host;
    return false;
  }
  if (options.port < 0 || options.port > 65535) {
    error = "bad port";
    return false;
  }
  return true;
}

bool ApplySeedFile(const std::string& path, Store& store, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  int number = 0;
  for (std::string line; std::getline(file, line);) {
    ++number;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string kind;
    if (!(words >> kind)) continue;
    std::string rest;
    if (kind == "account") {
      Account account;
      std::string name, password;
      if (!(words >> name >> password >> account.quota)) {
        error = path + ":" + std::to_string(number) + ": want account NAME PASSWORD QUOTA BLOGNAME";
        return false;
      }
      std::getline(words >> std::ws, rest);
      account.name = ToGbk(name);
      account.password = ToGbk(password);
      account.blogName = ToGbk(rest);
      store.PutAccount(account);
    } else if (kind == "setting") {
      std::string key;
      if (!(words >> key)) {
        error = path + ":" + std::to_string(number) + ": want setting KEY VALUE";
        return false;
      }
      std::getline(words >> std::ws, rest);
      store.PutSetting(key, ToGbk(rest));
    } else {
      error = path + ":" + std::to_string(number) + ": unknown line kind " + kind;
      return false;
    }
  }
  return true;
}

}  // namespace refserver
