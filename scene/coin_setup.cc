#include "scene/scene.h"

#include <Inventor/SoDB.h>
#include <Inventor/SoInteraction.h>
#include <Inventor/fields/SoField.h>
#include <Inventor/nodekits/SoNodeKit.h>

namespace {

// Coin3D keeps its "realTime" global field where no pointer of the process
// reaches it, so leak checkers report it at every exit; symbolizing that
// report to suppress it cost each sanitized process a fifth of a second.
// Held here, it is reachable; it lives as long as the process anyway.
SoField *volatile real_time_field = nullptr;

}  // namespace

void InitCoin_Inventor() {
  SoDB::init();
  real_time_field = SoDB::getGlobalField("realTime");
  SoNodeKit::init();
  SoInteraction::init();
}
