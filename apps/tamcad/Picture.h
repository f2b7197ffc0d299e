// A shaded picture of a scene graph, fitted to the view, written as PNG.
#pragma once

#include "Rasterizer.h"

#include <string>

class sglNode;

namespace tam {

// Size of the picture in pixels.
struct PictureOptions {
    int width = 1024;
    int height = 768;
};

// The background color of every picture.
constexpr Rgb kPictureBackground{242, 244, 247};

// Renders the visible geometry below root (finest level of detail) in an isometric parallel view
// from the front, right and above, fitted to the picture with a margin. Faces are shaded with
// their colors under a head light; curves and points are drawn in their colors. An empty scene
// (or a null root) gives the plain background.
Image renderPicture(const sglNode* root, const PictureOptions& options);

// Renders as above and writes the PNG file whole or not at all; false with a reason in error
// (the system's text) when it cannot be written.
bool writePicture(const sglNode* root, const std::string& path, const PictureOptions& options,
                  std::string& error);

}  // namespace tam
