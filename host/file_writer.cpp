// The writer thread's side of FileWriter: the bytes waiting, what each file
// is known to hold, and the failures, all under one lock that is never held
// while the disk is written.
#include "host/file_writer.h"

#include <cstdio>
#include <mutex>
#include <optional>
#include <utility>

#include "host/files.h"

namespace zeb::platform {

struct FileWriter::Shared {
  std::string folder;
  std::vector<std::string> paths;
  std::mutex mutex;
  std::optional<std::vector<Bytes>> waiting;
  std::vector<Bytes> on_disk;
  std::vector<Failure> failures;
  Counts counts;
};

namespace {

bool same_bytes(const FileWriter::Bytes& a, const FileWriter::Bytes& b) { return a && b && *a == *b; }

}  // namespace

FileWriter::FileWriter(std::string folder, std::vector<std::string> paths, std::vector<Bytes> on_disk)
    : shared_(std::make_shared<Shared>()) {
  on_disk.resize(paths.size());
  shared_->folder = std::move(folder);
  shared_->paths = std::move(paths);
  shared_->on_disk = std::move(on_disk);
}

void FileWriter::write(std::vector<Bytes> bytes) {
  bytes.resize(shared_->paths.size());
  {
    std::lock_guard lock(shared_->mutex);
    shared_->waiting = std::move(bytes);
  }
  // A write is never abandoned half-way: the job ignores the cancel flag
  // that posting sets on the job under way, and a job that finds nothing
  // waiting does nothing.
  worker_.post([shared = shared_](const std::atomic<bool>&) { write_waiting(*shared); });
}

void FileWriter::write_waiting(Shared& shared) {
  std::vector<Bytes> bytes, known;
  {
    std::lock_guard lock(shared.mutex);
    if (!shared.waiting) return;
    bytes = std::move(*shared.waiting);
    shared.waiting.reset();
    known = shared.on_disk;
    ++shared.counts.writes;
  }
  bool folder_made = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!bytes[i] || same_bytes(bytes[i], known[i])) continue;
    if (!folder_made) folder_made = make_host_dir(shared.folder);
    const bool written = replace_host_file(shared.paths[i], *bytes[i]);
    if (!written) std::fprintf(stderr, "zeb: %s was not saved; the next save tries again\n", shared.paths[i].c_str());
    std::lock_guard lock(shared.mutex);
    shared.on_disk[i] = written ? bytes[i] : nullptr;
    if (written) {
      ++shared.counts.files_written;
    } else {
      ++shared.counts.files_failed;
      shared.failures.push_back({i, bytes[i]});
    }
  }
}

std::vector<FileWriter::Failure> FileWriter::take_failures() {
  std::lock_guard lock(shared_->mutex);
  return std::exchange(shared_->failures, {});
}

void FileWriter::finish() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->waiting.reset();
  }
  worker_.wait_idle();
}

void FileWriter::wait_idle() { worker_.wait_idle(); }

FileWriter::Counts FileWriter::counts() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->counts;
}

}  // namespace zeb::platform
