#include "cli/program_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/sqlite_database.h"

extern char** environ;

namespace veltrane::host::testing {

void ProgramTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "paystead-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
}

void ProgramTest::TearDown() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string ProgramTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

ProgramResult ProgramTest::Run(const std::vector<std::string>& args,
                               const std::vector<std::string>& env) const {
  return Wait(Start(args, env));
}

ProgramTest::Running ProgramTest::Start(const std::vector<std::string>& args,
                                        const std::vector<std::string>& env) const {
  // The environment: the test's own, without locale or fault settings, then
  // a US English locale and the additions.
  std::vector<std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string var = *e;
    const bool dropped = var.starts_with("LC_ALL=") || var.starts_with("LC_MESSAGES=") ||
                         var.starts_with("LANG=") || var.starts_with("PAYSTEAD_FAULT=") ||
                         var.starts_with("TMPDIR=");
    if (!dropped) vars.push_back(var);
  }
  vars.push_back("LC_ALL=C");
  vars.push_back("TMPDIR=" + dir_);
  for (const std::string& e : env) {
    const std::string name = e.substr(0, e.find('=') + 1);
    std::erase_if(vars, [&](const std::string& v) { return v.starts_with(name); });
    vars.push_back(e);
  }

  std::vector<std::string> argv_text = {PAYSTEAD_PROGRAM};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv, envp;
  for (auto& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto& v : vars) envp.push_back(v.data());
  envp.push_back(nullptr);

  const std::string run = std::to_string(++started_);
  const std::string out_path = Path(".stdout-" + run), err_path = Path(".stderr-" + run);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || chdir(dir_.c_str()) != 0) _exit(127);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return {static_cast<int>(pid), out_path, err_path};
}

ProgramResult ProgramTest::Wait(const Running& running) const {
  ProgramResult result;
  int status = 0;
  if (running.pid < 0 || waitpid(running.pid, &status, 0) != running.pid) return result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(running.out_path);
  result.err = ReadFile(running.err_path);
  std::filesystem::remove(running.out_path);
  std::filesystem::remove(running.err_path);
  return result;
}

std::string ProgramTest::Ok(const std::vector<std::string>& args) const {
  const ProgramResult r = Run(args);
  std::string line;
  for (const auto& a : args) line += " " + a;
  EXPECT_EQ(r.exit_code, 0) << "paystead" << line << "\n" << r.err;
  return r.out;
}

void ProgramTest::MakeHousehold() const {
  Ok({"init"});
  Ok({"employer", "set", "--first", "Dana", "--last", "Whitfield", "--address1", "12 Larch Lane",
      "--city", "Springfield", "--state", "IL", "--zip", "62704", "--employer-id", "36-4417520"});
  Ok({"settings", "set", "--period", "Weekly"});
  Ok({"assistant", "add",        "Ann Lee",      "--first", "Ann",         "--last",
      "Lee",       "--address1", "5 Oak Street", "--city",  "Springfield", "--state",
      "IL",        "--zip",      "62702",        "--ssn",   "123-45-6780", "--rate",
      "10",        "--fit",      "Single:1",     "--ss",    "--medicare"});
}

long long ProgramTest::QueryNumber(const std::string& sql) const {
  auto db = OpenSqliteDatabase(DbPath());
  auto rs = db->OpenRecordset(sql, RecordsetType::kForwardOnly);
  const long long n = rs->Field("n").ToInt();
  rs->Close();
  return n;
}

void ProgramTest::Execute(const std::string& sql) const {
  OpenSqliteDatabase(DbPath())->Execute(sql);
}

::testing::Matcher<const std::string&> HasRow(const std::vector<std::string>& cells) {
  std::string pattern = "(^|\n) *";
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) pattern += " +";
    for (char c : cells[i]) {
      if (std::strchr("\\^$.|?*+()[]{}", c) != nullptr) pattern += '\\';
      pattern += c;
    }
  }
  return ::testing::ContainsRegex(pattern + "( |\n|$)");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the last row ends with a line break";
  return lines;
}

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace veltrane::host::testing
