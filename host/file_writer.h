#pragma once
// Writes a fixed set of files off the user-interface thread, so that waiting
// for the disk never holds up the reader. One write runs at a time; it takes
// the newest bytes handed over and writes, in the set's order, each file
// whose bytes differ from what the writer knows the file holds, replacing it
// atomically (replace_host_file: temporary, flush, rename, flush the
// folder). Bytes handed over while a write runs wait for it; newer bytes
// replace those still waiting. A file that fails keeps its old contents
// whole, is counted as unknown (so the next bytes handed over write it
// again) and is reported once to the caller and on standard error.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/worker.h"

namespace zeb::platform {

class FileWriter {
 public:
  using Bytes = std::shared_ptr<const std::string>;  // null: not known

  struct Failure {
    std::size_t file = 0;  // index in the set
    Bytes bytes;           // the very bytes handed over that were not written
  };
  struct Counts {
    int writes = 0;         // writes begun (each over the whole set)
    int files_written = 0;  // files replaced
    int files_failed = 0;   // files that could not be replaced
  };

  // `folder` is made when missing before a file is written; `paths` are the
  // set, in the order they are written; `on_disk` what each holds now.
  FileWriter(std::string folder, std::vector<std::string> paths, std::vector<Bytes> on_disk);
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // Hands over the bytes of every file of the set, in its order.
  void write(std::vector<Bytes> bytes);
  // The failures since the last call, oldest first.
  std::vector<Failure> take_failures();
  // Drops bytes still waiting and waits for the write under way.
  void finish();
  // Waits until everything handed over has been written.
  void wait_idle();
  Counts counts() const;

 private:
  struct Shared;
  static void write_waiting(Shared& shared);

  std::shared_ptr<Shared> shared_;
  Worker worker_;  // declared last: joined before the rest goes
};

}  // namespace zeb::platform
