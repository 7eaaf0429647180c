#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cluster_size.h"
#include "engine/file_purge.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

namespace TestSupport {

// Watches a file while it is purged: at every yield of the purge it reads the file and keeps
// each new content, so a test sees every overwrite that was complete before the next began.
class WatchingHost final : public FilePurge::PurgeHost {
 public:
  explicit WatchingHost(std::string path) : path_(std::move(path)) {}
  void Yield() override;
  void FileDone() override { ++filesDone; }

  // The contents seen that consist of whole copies of one cluster of clusterSize bytes.
  std::vector<std::string> WholeOverwrites(std::size_t clusterSize) const;

  std::vector<std::string> contents;
  int filesDone = 0;

 private:
  std::string path_;
};

// A purge on 4096-byte clusters with a reproducible random source and no waiting between
// deletion tries.
class PurgeTest : public ::testing::Test {
 protected:
  PurgeTest();

  // Purges with the environment of the test; returns the result code.
  short Purge(const std::string& path, short type, short passes, bool deleteFile,
              bool okReadOnly = false, bool okSystem = false);

  // The random cluster that the purge's n-th pass (from 1) of a file writes.
  std::string RandomClusterOfPass(int pass) const;

  TempFolder folder;
  int clusterQuestions = 0;
  DriveClusterSize clusterSizes;
  ScriptedRandom random;
  FilePurge::PurgeEnvironment environment;
};

}  // namespace TestSupport
