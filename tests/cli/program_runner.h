// Runs the built paystead program as a user would: in a temporary folder of
// its own, with a US English locale, capturing exit status and output.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrane::host::testing {

struct ProgramResult {
  int exit_code = -1;  // 128 + signal when the program was killed
  std::string out;
  std::string err;
};

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs paystead with `args` in the test's folder; `env` adds NAME=VALUE
  // settings to the program's environment.
  ProgramResult Run(const std::vector<std::string>& args,
                    const std::vector<std::string>& env = {}) const;

  // A program started and not yet waited for, so that several can run at
  // once.
  struct Running {
    int pid = -1;
    std::string out_path, err_path;
  };
  Running Start(const std::vector<std::string>& args,
                const std::vector<std::string>& env = {}) const;
  ProgramResult Wait(const Running& running) const;
  // Runs and expects success; returns the standard output.
  std::string Ok(const std::vector<std::string>& args) const;

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string DbPath() const { return Path("paystead.db"); }
  static std::string ReadFile(const std::string& path);

  // A database with an employer, a weekly pay period and the assistant
  // "Ann Lee" at $10 (overtime $15) with FIT Single 1, Soc. Sec., Medicare.
  void MakeHousehold() const;
  // The single number that a SELECT of one value gives, read straight
  // from the database file.
  long long QueryNumber(const std::string& sql) const;
  // Runs a statement on the database file as another program would: no
  // check of its layout, nothing upgraded.
  void Execute(const std::string& sql) const;

  std::string dir_;
  mutable int started_ = 0;  // names the output files of each run
};

// Number of lines of a text.
int LineCount(const std::string& text);
// The lines of a text (a tsv statement's rows), each without its line
// break; the last line must end with one.
std::vector<std::string> Lines(const std::string& text);

// Matches a text holding a line that starts (after blanks) with these
// cells, in order, separated by blanks of any width: the columns of a table.
::testing::Matcher<const std::string&> HasRow(const std::vector<std::string>& cells);

}  // namespace veltrane::host::testing
