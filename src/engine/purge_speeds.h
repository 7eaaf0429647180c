#pragma once

// The purge speed measured for each drive: megabytes (1,048,576 bytes) per second for one
// overwrite, averaged over the measurements made, kept for the whole run of the program.

#include <map>
#include <string>

class DrivePurgeSpeed {
 public:
  // The drive's speed, or 0 when it has not been measured. root is the drive's root.
  float Speed(const std::string& root) const;
  // How many measurements the speed averages.
  short Count(const std::string& root) const;
  // Sets the speed and the count (a speed of 0 or less forgets the drive's measurements).
  void Set(const std::string& root, float speed, short count);
  // Folds a new measurement into the average and returns the new average; the first
  // measurement is taken as it is.
  float RecordSpeed(const std::string& root, float speed);

 private:
  struct Entry {
    float speed = 0;
    short count = 0;
  };
  std::map<std::string, Entry> entries_;
};
