#pragma once
// Runs the real server binary for a test: a fresh data folder, a free port, SIGTERM at the end.
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace refserver::testing {

class ServerProcess {
 public:
  // `seed` is written to a seed file (UTF-8); `dataDir` empty: a new temporary folder.
  explicit ServerProcess(const std::string& seed, std::filesystem::path dataDir = {}) {
    if (dataDir.empty()) {
      char pattern[] = "/tmp/fernwick-server-test-XXXXXX";
      dataDir = ::mkdtemp(pattern);
      ownsData_ = true;
    }
    dataDir_ = dataDir;
    std::filesystem::create_directories(dataDir_);
    const auto seedFile = dataDir_ / "seed.txt";
    std::ofstream(seedFile) << seed;
    Start(seedFile);
  }
  ~ServerProcess() {
    Stop();
    if (ownsData_ && keepData_ == false) std::filesystem::remove_all(dataDir_);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // Stops with SIGTERM and waits; returns the exit status.
  int Stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }
  void KeepData() { keepData_ = true; }
  const std::filesystem::path& dataDir() const { return dataDir_; }
  int port() const { return port_; }
  bool running() const { return port_ > 0; }
  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(10, 0);
    return client;
  }

 private:
  void Start(const std::filesystem::path& seedFile) {
    const auto portFile = dataDir_ / "port";
    std::filesystem::remove(portFile);
    const std::string data = (dataDir_ / "db").string();
    const std::string port = portFile.string();
    const std::string seed = seedFile.string();
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl(FERNWICK_SERVER_BINARY, FERNWICK_SERVER_BINARY, "--port", "0", "--port-file", port.c_str(), "--data",
              data.c_str(), "--seed", seed.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 200 && port_ <= 0; ++i) {
      std::ifstream in(portFile);
      if (!(in >> port_)) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  std::filesystem::path dataDir_;
  bool ownsData_ = false;
  bool keepData_ = false;
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace refserver::testing
