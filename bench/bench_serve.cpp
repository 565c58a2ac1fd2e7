// The paycheck preview as a page of paystead serve against the command
// line's paycheck, on a journal of 10 years x 20 payees x 52 weekly checks
// in a database file. The command line opens the file for each paycheck, as
// each run of the program does; the server keeps it open between requests.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "host/cli/paystead.h"
#include "host/household/database_file.h"
#include "host/web/app.h"
#include "payroll_journal.h"

namespace veltrane::bench {
namespace {

// The journal's database file, built once for every benchmark of the run.
const std::string& JournalFile() {
  static const std::string path = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "paystead-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) std::abort();
    const std::string file = dir + "/journal.db";
    BuildJournal(file, 10, 20);
    return file;
  }();
  return path;
}

void BM_CommandLinePaycheck(benchmark::State& state) {
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  const std::vector<std::string> args = {"--db",     JournalFile(), "--today", "12/27/2004",
                                         "paycheck", PayeeName(7),  "--from",  "12/20/2004",
                                         "--to",     "12/26/2004",  "--check", "1001"};
  for (auto _ : state) {
    std::ostringstream out, err;
    if (cli::RunPaystead(args, out, err) != 0) state.SkipWithError(err.str().c_str());
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_CommandLinePaycheck)->Unit(benchmark::kMillisecond);

void BM_WebPaycheckPreview(benchmark::State& state) {
  ::setenv("LC_ALL", "en_US.UTF-8", 1);
  FixedClock clock(MakeDate(2004, 12, 27));
  auto db = household::OpenHousehold(JournalFile()).db;
  household::HeldDatabase held(JournalFile(), *db);
  const std::string token = "0123456789abcdef0123456789abcdef";
  web::WebApp app(held, clock, token, 8080);
  web::WebRequest request;
  request.path = "/paycheck";
  request.host = "127.0.0.1:8080";
  request.cookies = "paystead_token=" + token;
  request.query = {
      {"assistant", PayeeName(7)}, {"from", "12/20/2004"}, {"to", "12/26/2004"}, {"check", "1001"}};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const web::WebReply reply = app.Handle(request);
    if (reply.status != 200) state.SkipWithError("the preview was refused");
    bytes = reply.body.size();
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WebPaycheckPreview)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrane::bench
