#pragma once
// Command line and seed file of the reference server (see server/README.md).
#include <string>
#include <utility>
#include <vector>

#include "store.h"

namespace refserver {

struct ServerOptions {
  std::string host = "127.0.0.1";
  int port = 18080;  // 0: any free port (see portFile)
  std::string portFile;
  std::string dataDir = "fernwick-server-data";
  std::string seedFile;
  std::vector<std::pair<std::string, std::string>> settings;  // --setting key=value
};

// Parses argv; on a bad option returns false with a message in `error`.
bool ParseServerOptions(int argc, char** argv, ServerOptions& options, std::string& error);
// Whether a host name or address is a loopback one (the server binds nothing else).
bool IsLoopbackHost(const std::string& host);

// Applies a seed file: lines "account NAME PASSWORD QUOTA BLOG NAME..." and
// "setting KEY VALUE...", UTF-8, '#' starts a comment. Names and blog names are stored in
// GBK, as the program sends and shows them. False with a message on a bad line.
bool ApplySeedFile(const std::string& path, Store& store, std::string& error);

}  // namespace refserver
