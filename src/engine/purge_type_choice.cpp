#include "engine/purge_type_choice.h"

#include <cstddef>

PurgeTypeChoice::PurgeTypeChoice() {
  Initialization();
}

bool PurgeTypeChoice::IsValidType(short type) {
  return type >= 0 && type < kNumPurgeTypes;
}

short PurgeTypeChoice::OverwritesPerPass(short type) {
  switch (type) {
    case 0:
      return 2;
    case 1:
      return 3;
    case 2:
      return 6;
    default:
      return 0;
  }
}

short PurgeTypeChoice::MaxPasses(short type) {
  switch (type) {
    case 0:
      return 9;
    case 1:
      return 8;
    case 2:
      return 4;
    default:
      return 0;
  }
}

void PurgeTypeChoice::Initialization() {
  intMinNumPasses_ = 1;
  for (short k = 0; k < kNumPurgeTypes; ++k) {
    std::vector<std::string>& list = lists_[static_cast<std::size_t>(k)];
    list.clear();
    const short intMaxNumPasses = MaxPasses(k);
    for (short passes = 1; passes <= intMaxNumPasses; ++passes) {
      list.push_back(std::to_string(passes));
    }
  }
  purgeType_ = 0;
  typeAtActivation_ = 0;
  selectedIndexes_ = {5, 3, 1};
}

short PurgeTypeChoice::GetPurgeType() const {
  return purgeType_;
}

short PurgeTypeChoice::GetNumberOfPasses() const {
  return static_cast<short>(intMinNumPasses_ + SelectedIndex(purgeType_));
}

short PurgeTypeChoice::GetNumOverwritesPerPass() const {
  return OverwritesPerPass(purgeType_);
}

short PurgeTypeChoice::GetNumOverwrites() const {
  return static_cast<short>(GetNumberOfPasses() * GetNumOverwritesPerPass());
}

void PurgeTypeChoice::SetPurgeType(short type) {
  if (IsValidType(type)) {
    purgeType_ = type;
  }
}

int PurgeTypeChoice::ListCount(short type) const {
  return IsValidType(type) ? static_cast<int>(lists_[static_cast<std::size_t>(type)].size()) : 0;
}

std::string PurgeTypeChoice::ListEntry(short type, int index) const {
  if (index < 0 || index >= ListCount(type)) {
    return {};
  }
  return lists_[static_cast<std::size_t>(type)][static_cast<std::size_t>(index)];
}

int PurgeTypeChoice::SelectedIndex(short type) const {
  return IsValidType(type) ? selectedIndexes_[static_cast<std::size_t>(type)] : -1;
}

void PurgeTypeChoice::SelectIndex(short type, int index) {
  if (index >= 0 && index < ListCount(type)) {
    selectedIndexes_[static_cast<std::size_t>(type)] = index;
  }
}

void PurgeTypeChoice::Activate() {
  typeAtActivation_ = purgeType_;
}

void PurgeTypeChoice::Cancel() {
  purgeType_ = typeAtActivation_;
}

bool PurgeTypeChoice::RestoreFromSetup(short type, short passes) {
  if (!IsValidType(type)) {
    return false;
  }
  const int index = passes - intMinNumPasses_;
  if (index < 0 || index >= ListCount(type)) {
    return false;
  }
  purgeType_ = type;
  selectedIndexes_[static_cast<std::size_t>(type)] = index;
  return true;
}

short PurgeTypeChoice::MinNumPasses() const {
  return intMinNumPasses_;
}
