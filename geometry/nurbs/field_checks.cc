#include "geometry/nurbs/field_checks.h"

#include <Inventor/fields/SoMFFloat.h>
#include <Inventor/fields/SoMFInt32.h>
#include <Inventor/fields/SoSFInt32.h>

bool CheckControlCount(const SoSFInt32 &field, const char *name, std::string &problem) {
  if (field.getValue() >= 2) return true;
  problem = std::string(name) + " is " + std::to_string(field.getValue()) + "; a surface needs at least 2";
  return false;
}

bool ReadKnotField(const SoMFFloat &field, int64_t count, const char *name, nurbs::KnotVector &knots,
                   std::string &problem) {
  return nurbs::MakeKnotVector(field.getValues(0), field.getNum(), count, name, knots, problem);
}

NetIndex::NetIndex(const SoMFInt32 *index, const char *index_name, const char *list_name)
    : index_(index), index_name_(index_name), list_name_(list_name) {}

bool NetIndex::Check(int64_t count, int64_t available, std::string &problem) const {
  if (!index_) {
    if (count <= available) return true;
    problem = "the surface needs " + std::to_string(count) + " " + list_name_ + " but the state holds " +
              std::to_string(available);
    return false;
  }
  if (index_->getNum() < count) {
    problem = std::string(index_name_) + " has " + std::to_string(index_->getNum()) + " entries; the surface needs " +
              std::to_string(count);
    return false;
  }
  for (int k = 0; k < count; ++k) {
    const int32_t entry = (*index_)[k];
    if (entry < 0 || entry >= available) {
      problem = std::string(index_name_) + " entry " + std::to_string(k) + " is " + std::to_string(entry) +
                ", outside the " + std::to_string(available) + " " + list_name_ + " in the state";
      return false;
    }
  }
  return true;
}

int NetIndex::Entry(int k) const { return index_ ? (*index_)[k] : k; }
