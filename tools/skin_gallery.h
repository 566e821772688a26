#pragma once
// The gallery of a skin for its authors: one picture of everything the skin paints.
#include <string>

namespace fw {
class TBitmap;
}

namespace velmora {

class TacSkinIndex;

// Every section in every state at two sizes over a plain and a striped parent, with a caption,
// then every glyph in every frame, labelled, into gallery (resized to fit).
void RenderGallery(const TacSkinIndex& skin, const std::string& title, fw::TBitmap& gallery);
// The skin at path (a folder or an archive) into a PNG file.
int Gallery(const std::string& path, const std::string& out);

}  // namespace velmora
