// The reference upload server: a small, real implementation of the photo service's side for
// running and testing the desktop program on one machine. See server/README.md.
#include <signal.h>

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
    ServerContext context{store, faults, log, ""};
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

    std::thread stopper([&server, &stopSignals] {
      int signal = 0;
      sigwait(&stopSignals, &signal);
      server.stop();
    });
    server.listen_after_bind();
    // listen_after_bind only returns once stopped; the stopper has then done its work.
    stopper.join();
  } catch (const std::exception& e) {
    std::cerr << "fernwick-server: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
