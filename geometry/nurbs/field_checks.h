// Checks of the fields a NURBS node shares with its texture function: control
// counts, knot vectors, and index lists that map a control net onto the
// coordinates of the traversal state. Problems name the field.
#ifndef GEOMETRY_NURBS_FIELD_CHECKS_H
#define GEOMETRY_NURBS_FIELD_CHECKS_H

#include <cstdint>
#include <string>

#include "geometry/nurbs/basis.h"

class SoMFFloat;
class SoMFInt32;
class SoSFInt32;

// A control count of at least 2, the fewest a NURBS direction has.
bool CheckControlCount(const SoSFInt32 &field, const char *name, std::string &problem);

bool ReadKnotField(const SoMFFloat &field, int64_t count, const char *name, nurbs::KnotVector &knots,
                   std::string &problem);

// Maps positions of a control net to entries of a list in the state:
// straight through, or through an index field.
class NetIndex {
 public:
  // index may be null (straight through); the names serve the problem reports.
  NetIndex(const SoMFInt32 *index, const char *index_name, const char *list_name);

  // Checks that a net of count points maps into a list of available entries.
  bool Check(int64_t count, int64_t available, std::string &problem) const;

  // The list entry of net position k (after a successful Check).
  int Entry(int k) const;

 private:
  const SoMFInt32 *index_;
  const char *index_name_;
  const char *list_name_;
};

#endif
