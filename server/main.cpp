// The reference upload server: a small, real implementation of the photo service's side for
// running and testing the desktop program on one machine. See server/README.md.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <thread>

#include "control_routes.h"
#include "raw_http_server.h"
#include "server_options.h"
#include "service_routes.h"
#include "web_pages.h"

int main(int argc, char** argv) {
  using namespace refserver;
  ServerOptions options;
  std::string error;
  if (!ParseServerOptions(argc, argv, options, error)) {
    std::cerr << "fernwick-server: " << error << "\n"
              << "usage: fernwick-server [--host 127.0.0.1] [--port N] [--port-file F] [--data DIR]"
                 " [--seed FILE] [--setting key=value]...\n";
    return 2;
  }

  // Termination signals are taken by a thread of their own, which stops the server cleanly.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    Store store(options.dataDir);
    if (!options.seedFile.empty() && !ApplySeedFile(options.seedFile, store, error)) {
      std::cerr << "fernwick-server: " << error << "\n";
      return 2;
    }
    for (const auto& [key, value] : options.settings) store.PutSetting(key, value);

    FaultPlan faults;
    RequestLog log;
    ServerContext context{store, faults, log, "", {}};
    RawHttpServer server(faults, log);
    server.set_payload_max_length(16 * 1024 * 1024);
    AddServiceRoutes(server, context);
    AddWebPages(server, context);
    AddControlRoutes(server, context);

    int port = options.port;
    if (port == 0) {
      port = server.bind_to_any_port(options.host);
    } else if (!server.bind_to_port(options.host, port)) {
      port = -1;
    }
    if (port <= 0) {
      std::cerr << "fernwick-server: cannot listen on " << options.host << ":" << options.port << "\n";
      return 1;
    }
    context.baseUrl = "http://" + options.host + ":" + std::to_string(port);
    if (!options.portFile.empty()) {
      const std::string partial = options.portFile + ".part";
      std::ofstream(partial) << port << "\n";
      std::rename(partial.c_str(), options.portFile.c_str());
    }
    std::cerr << "fernwick-server: listening on " << options.host << ":" << port << ", data in " << options.dataDir
              << "\n";

    // A pause stops the listening loop and asks for another one after it; a termination
    // signal ends the loop for good (asked again until the loop has seen it, since a loop
    // that has not started yet ignores a stop).
    std::atomic<long> pauseMs{0};
    std::atomic<bool> stopping{false};
    std::atomic<bool> ended{false};
    context.pauseListening = [&server, &pauseMs](long ms) {
      pauseMs.store(ms);
      server.stop();
    };
    std::thread stopper([&server, &stopSignals, &stopping, &ended] {
      int signal = 0;
      sigwait(&stopSignals, &signal);
      stopping.store(true);
      while (!ended.load()) {
        server.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    });
    for (;;) {
      server.listen_after_bind();
      const long pause = pauseMs.exchange(0);
      if (stopping.load() || pause <= 0) break;
      std::cerr << "fernwick-server: not listening for " << pause << " ms\n";
      const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(pause);
      while (!stopping.load() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      if (stopping.load()) break;
      if (!server.bind_to_port(options.host, port)) {
        std::cerr << "fernwick-server: cannot listen on " << options.host << ":" << port << " again\n";
        break;
      }
    }
    ended.store(true);
    // The stopper waits for a signal; one that never came is sent here to end it.
    if (!stopping.load()) ::kill(::getpid(), SIGTERM);
    stopper.join();
  } catch (const std::exception& e) {
    std::cerr << "fernwick-server: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
