#include "scene/scene.h"

#include <Inventor/SoDB.h>
#include <Inventor/SoInteraction.h>
#include <Inventor/nodekits/SoNodeKit.h>

void InitCoin_Inventor() {
  SoDB::init();
  SoNodeKit::init();
  SoInteraction::init();
}
