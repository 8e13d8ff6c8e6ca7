// The 3MF writer on a scene built straight into the database, with what
// our plug-in never sends but another host's importer may: names that are
// not UTF-8 text XML can hold.
#include <gtest/gtest.h>

#include "export_fixtures.h"
#include "kavrel/export/threemf_library.h"

namespace kavrel_test {
namespace {

using kavrel::CheckThreeMf;
using kavrel::ThreeMfHandle;

// The first item of an iterator that model hands out through first.
void First(LIB3MFRESULT (*iterate)(NMR::PLib3MFBase *, NMR::PLib3MFBase **), NMR::PLib3MFBase *model,
           bool items, ThreeMfHandle *out) {
  ThreeMfHandle iterator;
  BOOL found = false;
  CheckThreeMf(iterate(model, iterator.Out()), model, "iterate");
  CheckThreeMf(items ? NMR::lib3mf_builditemiterator_movenext(iterator.get(), &found)
                     : NMR::lib3mf_resourceiterator_movenext(iterator.get(), &found),
               iterator.get(), "movenext");
  ASSERT_TRUE(found);
  CheckThreeMf(items ? NMR::lib3mf_builditemiterator_getcurrent(iterator.get(), out->Out())
                     : NMR::lib3mf_resourceiterator_getcurrent(iterator.get(), out->Out()),
               iterator.get(), "getcurrent");
}

TEST(ThreeMfWriter, NamesXmlCannotHoldGetReplacementCharacters) {
  kavrel::Host host;
  Scene &s = host.scene();
  s.surfaces.get_or_add("Rouge \xe9");
  kavrel::Instance &part = AddInstance(s, "Caf\xe9 \x01 part");
  part.object = AddObject(s, "squares", TwoSquares());
  part.surface = "Rouge \xe9";
  const std::string path = TempDir() + "/names.3mf";
  std::string error;
  ASSERT_TRUE(ExportScene(host, path, kavrel::ExportFormat::k3mf, &error)) << error;

  ThreeMfHandle model, reader, item, materials;
  CheckThreeMf(NMR::lib3mf_createmodel(model.Out()), nullptr, "createmodel");
  CheckThreeMf(NMR::lib3mf_model_queryreader(model.get(), "3mf", reader.Out()), model.get(), "queryreader");
  CheckThreeMf(NMR::lib3mf_reader_readfromfileutf8(reader.get(), path.c_str()), reader.get(), "read");
  First(NMR::lib3mf_model_getbuilditems, model.get(), true, &item);
  First(NMR::lib3mf_model_getbasematerials, model.get(), false, &materials);
  char text[256];
  ULONG needed = 0;
  CheckThreeMf(NMR::lib3mf_builditem_getpartnumberutf8(item.get(), text, sizeof text, &needed), item.get(), "part");
  EXPECT_STREQ(text, "Caf\uFFFD \uFFFD part");
  CheckThreeMf(NMR::lib3mf_basematerial_getnameutf8(materials.get(), 0, text, sizeof text, &needed), materials.get(),
               "name");
  EXPECT_STREQ(text, "Rouge \uFFFD");
}

}  // namespace
}  // namespace kavrel_test
