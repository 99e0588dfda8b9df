#pragma once
#include <string>

#include "CC3VertexArrayMeshModel.h"
#include "CCTexture2D.h"

// A mesh that covers only the cells of a picture that are not empty, laid on
// the rectangle of a whole-picture mesh (four vertices with locations,
// normals and texture coordinates), so that the same pixels get the same
// colours and the transparent ones are not drawn at all.
class CC3PictureMesh {
 public:
  // Null when the picture has no cells, the rectangle is not a textured
  // rectangle, or trimming would save little.
  static Ptr<CC3VertexArrayMeshModel> fittedTo(CC3VertexArrayMeshModel& whole,
                                               const CCTexture2D& texture, const std::string& name);

  // A rectangle of texels, right and bottom exclusive.
  struct Span {
    unsigned left, top, right, bottom;
  };
  // The cells that are not empty as rectangles: runs along each row of cells,
  // a run joined to the same run of the row above.
  static std::vector<Span> shownSpans(const CCTextureAlphaCells& cells, unsigned contentWide,
                                      unsigned contentHigh);
};
