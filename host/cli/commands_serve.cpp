// paystead serve: the household's payroll in the web browser, on this
// computer only.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <limits>
#include <thread>

#include "host/cli/cli_errors.h"
#include "host/cli/command.h"
#include "host/cli/open_in_browser.h"
#include "host/household/database_file.h"
#include "host/household/input_text.h"
#include "host/web/app.h"
#include "host/web/guard.h"
#include "host/web/server.h"

namespace veltrane::cli {
namespace {

void Serve(Session& session, const ParsedArgs& args) {
  const int port =
      args.Has("port")
          ? static_cast<int>(household::ReadWholeNumber("port", *args.Get("port"), 1,
                                                        std::numeric_limits<std::uint16_t>::max()))
          : 0;
  // A missing or foreign file is refused before the server starts; the
  // file's identity is taken as it is opened.
  household::HeldDatabase held(session.db_path(), session.db());

  // Ctrl-C and SIGTERM, the first or any later one, are taken by one thread
  // that stops the server; the pages in progress end, then every connection
  // is closed and the database with it. They stay blocked after serving, so
  // a signal that comes as the command ends does not kill it either.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  web::WebApp app(held, session.clock(), web::MakeToken(), port);
  web::WebServer server(app, port);
  std::atomic<bool> served = false;
  std::thread waiter([&] {
    for (;;) {
      int signal = 0;
      sigwait(&stop_signals, &signal);
      if (served) return;
      server.Stop();
    }
  });
  session.out() << "Serving the payroll of '" << session.db_shown() << "' at " << server.Address()
                << "\nOpen that address in a web browser on this computer; stop with Ctrl-C.\n"
                << std::flush;
  if (args.Has("open")) {
    try {
      OpenInBrowser(server.Address());
    } catch (const UserError& e) {
      session.err() << "paystead: " << e.what() << '\n';
    }
  }
  const auto end_waiter = [&] {
    served = true;
    pthread_kill(waiter.native_handle(), SIGTERM);  // the waiter's own signal: it ends
    waiter.join();
  };
  try {
    server.Run();
  } catch (...) {
    end_waiter();
    throw;
  }
  end_waiter();
  session.CloseDatabase();
  session.out() << "Stopped; the database is closed.\n" << std::flush;
}

}  // namespace

void AddServeCommands(CommandTable& table) {
  table.push_back(
      {{"serve"},
       "",
       "serve the payroll as pages in the web browser, on this computer only",
       "Listens on 127.0.0.1 only and prints the address to open, with the token that every\n"
       "request needs. The pages do what the commands do; stop with Ctrl-C.",
       {{"port", true, false, "the port (default: a free one)", "N"},
        {"open", false, false, "open the address with docbrowse", ""}},
       0,
       0,
       Serve});
}

}  // namespace veltrane::cli
