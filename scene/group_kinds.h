// The group node classes that become instances, recognised by exact type.
#ifndef SCENE_GROUP_KINDS_H
#define SCENE_GROUP_KINDS_H

class SoNode;

// Kind word of a supported group class (the base name of an unnamed group);
// null for any other class, subclasses included.
const char *GroupKindWord(const SoNode *node);

#endif
