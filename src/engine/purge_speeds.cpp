#include "engine/purge_speeds.h"

float DrivePurgeSpeed::Speed(const std::string& root) const {
  const auto found = entries_.find(root);
  return found == entries_.end() ? 0.0f : found->second.speed;
}

short DrivePurgeSpeed::Count(const std::string& root) const {
  const auto found = entries_.find(root);
  return found == entries_.end() ? short{0} : found->second.count;
}

void DrivePurgeSpeed::Set(const std::string& root, float speed, short count) {
  if (speed <= 0) {
    entries_.erase(root);
    return;
  }
  entries_[root] = {speed, count};
}

float DrivePurgeSpeed::RecordSpeed(const std::string& root, float speed) {
  Entry& entry = entries_[root];
  if (entry.count <= 0 || entry.speed <= 0) {
    entry = {speed, 1};
  } else {
    entry.speed = (static_cast<float>(entry.count) * entry.speed + speed) /
                  static_cast<float>(entry.count + 1);
    ++entry.count;
  }
  return entry.speed;
}
