// ascii_inventor IN OUT: writes the scene of an Inventor file, binary ones
// included, as ASCII Inventor text. scripts/fuzz.sh makes the conversion
// fuzzer's seeds with it from the binary inventor-data models.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoInteraction.h>
#include <Inventor/SoOutput.h>
#include <Inventor/actions/SoWriteAction.h>
#include <Inventor/nodekits/SoNodeKit.h>
#include <Inventor/nodes/SoSeparator.h>

int main(int argc, char **argv) {
  if (argc != 3) return 2;
  SoDB::init();
  SoNodeKit::init();
  SoInteraction::init();
  SoInput input;
  if (!input.openFile(argv[1])) return 1;
  SoSeparator *root = SoDB::readAll(&input);
  if (!root) return 1;
  root->ref();
  SoOutput output;
  const bool opened = output.openFile(argv[2]);
  if (opened) {
    SoWriteAction write(&output);
    write.apply(root);
    output.closeFile();
  }
  root->unref();
  return opened ? 0 : 1;
}
