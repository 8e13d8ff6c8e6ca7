// Base names of the elements made from nodes.
#ifndef PLUGIN_NODE_NAMES_H
#define PLUGIN_NODE_NAMES_H

#include <Inventor/SbString.h>

class SoNode;

// The node's name when it has one, else the class word.
void NodeBaseName(SbString &result, const SoNode *node, const char *class_word);

#endif
