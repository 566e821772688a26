#include "app/skin_extraction.h"

#include <ostream>

#include "framework/exceptions.h"
#include "platform/files/paths.h"
#include "platform/resources/resources.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

int ExtractBuiltInSkin(const std::string& dir, std::ostream& out, std::ostream& err) {
  const auto archive = plat::FindResourceBytes("VCLSTYLE", "Resource1");
  if (archive.empty()) {
    err << "velmora: --extract-skin: this build of the program carries no skin\n";
    return 1;
  }
  try {
    TsSkinManager manager(nullptr);
    TsStoredSkin* skin = manager.InternalSkins()->Add();
    skin->SetName(kBuiltInSkinName);
    skin->PackedData().WriteBuffer(archive);
    manager.ExtractInternalSkin(kBuiltInSkinName, dir);
  } catch (const fw::Exception& e) {
    err << "velmora: --extract-skin \"" << dir << "\": " << e.what() << "\n";
    return 2;
  }
  std::string path = plat::files::HostPath(dir);
  if (path.back() != '/') path += '/';
  out << "velmora: the built-in skin is in " << path << kBuiltInSkinName << " extracted.asz\n";
  return 0;
}

}  // namespace velmora
