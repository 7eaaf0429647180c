#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/cluster_size.h"
#include "engine/file_purge.h"
#include "engine/overwrite_buffers.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

namespace TestSupport {

// A purge on 4096-byte clusters with a reproducible random source, one cluster per write and no
// waiting between deletion tries.
class PurgeTest : public ::testing::Test {
 protected:
  PurgeTest() {
    environment.deleteRetry.sleep = [](int) {};
    environment.yieldInterval = std::chrono::milliseconds(0);
    environment.writeRunBytes = 0;
  }

  // Purges with the environment of the test; returns the result code.
  short Purge(const std::string& path, short type, short passes, bool deleteFile, bool readOnly = false) {
    short code = 12345;
    const bool ok = FilePurge::PurgeFile(path, type, passes, deleteFile, readOnly, false, code, environment);
    EXPECT_EQ(ok, code >= 0);
    return code;
  }

  // The random cluster that the purge's n-th pass (from 1) of a file writes.
  static std::string RandomClusterOfPass(int pass) {
    ScriptedRandom again;  // from the state of a new seed
    std::vector<unsigned char> cluster;
    for (int i = 1; i <= pass; ++i) FilePurge::BuildRandomCluster(cluster, 4096, again);
    return std::string(cluster.begin(), cluster.end());
  }

  TempFolder folder;
  DriveClusterSize clusterSizes{[](const std::string&, double&) { return std::int64_t{4096}; }};
  ScriptedRandom random;
  FilePurge::PurgeEnvironment environment{clusterSizes, random};
};

}  // namespace TestSupport
