// The file each test program writes its results to. A file that an earlier
// run left and that cannot be deleted (held open by a scanner or a program
// still running, or made read-only) must not pass for the next run's
// results: that run gets a fresh name, and its notes say why.
#pragma once
#include <string>
#include <vector>

class ResultFile {
 public:
  explicit ResultFile(std::wstring folder) : folder_(std::move(folder)) {}

  // The path for the next run, no file there; empty when no name could be
  // cleared, and the run's results are then not read.
  std::wstring Prepare();
  // Why Prepare had to pass a name over, for the run's notes; empty if not.
  std::string TakeNote();
  // Deletes every file it named, read-only ones too, once the runs are over.
  void DeleteAll();

 private:
  std::wstring Name(int index) const;
  std::wstring folder_;
  int index_ = 0;
  std::string note_;
};
