#include "CC3PictureMesh.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

namespace {
// Trimming pays when it leaves at most this share of the picture.
constexpr double kWorthwhileShare = 0.9;

constexpr GLuint kForwards[6] = {0, 1, 2, 0, 2, 3};
constexpr GLuint kBackwards[6] = {0, 2, 1, 0, 3, 2};

struct PictureVertex {
  CC3Vec3 location;
  CC3Vec3 normal;
  ccTex2F texCoord;
};

// Location on the whole rectangle of a texture coordinate: the rectangle maps
// texture coordinates to locations affinely.
class RectangleMap {
 public:
  bool read(CC3VertexArrayMeshModel& whole) {
    CC3VertexLocations* locations = whole.vertexLocations();
    CC3VertexTextureCoordinates* coords = whole.vertexTextureCoordinates();
    if (!locations || !coords || !whole.vertexNormals() || locations->elementCount() != 4)
      return false;
    // Vertices 0 and 1 share a row of the picture, 0 and 2 a column.
    const ccTex2F t0 = coords->texCoord2FAt(0), t1 = coords->texCoord2FAt(1),
                  t2 = coords->texCoord2FAt(2);
    if (t0.v != t1.v || t0.u != t2.u || t0.u == t1.u || t0.v == t2.v) return false;
    const CC3Vec3 l0 = locations->locationAt(0), l1 = locations->locationAt(1),
                  l2 = locations->locationAt(2);
    origin_ = l1;
    originTex_ = t1;
    perU_ = CC3Vec3ScaleUniform(CC3Vec3Difference(l0, l1), 1.0f / (t0.u - t1.u));
    perV_ = CC3Vec3ScaleUniform(CC3Vec3Difference(l2, l0), 1.0f / (t2.v - t0.v));
    normal_ = whole.vertexNormals()->normalAt(0);
    return true;
  }

  // Whether the triangle a, b, c turns counter-clockwise seen from the front.
  bool facesNormal(const PictureVertex& a, const PictureVertex& b, const PictureVertex& c) const {
    const CC3Vec3 turn = CC3Vec3Cross(CC3Vec3Difference(b.location, a.location),
                                      CC3Vec3Difference(c.location, a.location));
    return CC3Vec3Dot(turn, normal_) >= 0;
  }

  PictureVertex vertex(ccTex2F tex) const {
    const CC3Vec3 along = CC3Vec3Add(CC3Vec3ScaleUniform(perU_, tex.u - originTex_.u),
                                     CC3Vec3ScaleUniform(perV_, tex.v - originTex_.v));
    return {CC3Vec3Add(origin_, along), normal_, tex};
  }

 private:
  CC3Vec3 origin_{}, perU_{}, perV_{}, normal_{};
  ccTex2F originTex_{};
};

double areaOf(const std::vector<CC3PictureMesh::Span>& spans) {
  double area = 0;
  for (const auto& s : spans) area += double(s.right - s.left) * double(s.bottom - s.top);
  return area;
}
}  // namespace

std::vector<CC3PictureMesh::Span> CC3PictureMesh::shownSpans(const CCTextureAlphaCells& cells,
                                                             unsigned contentWide,
                                                             unsigned contentHigh) {
  constexpr unsigned size = CCTextureAlphaCells::kCellSize;
  std::vector<Span> spans;
  std::map<std::pair<unsigned, unsigned>, std::size_t> openAbove;  // run -> span
  for (unsigned row = 0; row < cells.rows(); ++row) {
    std::map<std::pair<unsigned, unsigned>, std::size_t> open;
    const unsigned top = row * size, bottom = std::min(top + size, contentHigh);
    for (unsigned column = 0; column < cells.columns();) {
      if (cells.at(column, row) == CCTextureAlphaCells::Cell::Empty) {
        ++column;
        continue;
      }
      unsigned end = column;
      while (end < cells.columns() && cells.at(end, row) != CCTextureAlphaCells::Cell::Empty) ++end;
      const std::pair<unsigned, unsigned> run{column, end};
      if (auto above = openAbove.find(run); above != openAbove.end()) {
        spans[above->second].bottom = bottom;
        open[run] = above->second;
      } else {
        open[run] = spans.size();
        spans.push_back({column * size, top, std::min(end * size, contentWide), bottom});
      }
      column = end;
    }
    openAbove = std::move(open);
  }
  return spans;
}

Ptr<CC3VertexArrayMeshModel> CC3PictureMesh::fittedTo(CC3VertexArrayMeshModel& whole,
                                                      const CCTexture2D& texture,
                                                      const std::string& name) {
  const CCTextureAlphaCells& cells = texture.alphaCells();
  RectangleMap map;
  if (cells.empty() || !map.read(whole) || !texture.pixelsWide() || !texture.pixelsHigh())
    return nullptr;
  const CGSize content = texture.contentSizeInPixels();
  const unsigned wide = unsigned(content.width), high = unsigned(content.height);
  const std::vector<Span> spans = shownSpans(cells, wide, high);
  if (areaOf(spans) > kWorthwhileShare * double(wide) * double(high)) return nullptr;
  constexpr std::size_t kMostQuads = 65536 / 4;
  if (spans.size() > kMostQuads) return nullptr;

  const GLuint vertexCount = GLuint(spans.size() * 4);
  auto locations = CC3VertexLocations::vertexArrayWithName(name + "-Locations");
  locations->setDrawingMode(GL_TRIANGLES);
  locations->setElementStride(sizeof(PictureVertex));
  auto* vertices = static_cast<PictureVertex*>(locations->allocateElements(vertexCount));
  auto normals = CC3VertexNormals::vertexArrayWithName(name + "-Normals");
  normals->setElements(locations->elements());
  normals->setElementStride(sizeof(PictureVertex));
  normals->setElementCount(vertexCount);
  normals->setElementOffset(offsetof(PictureVertex, normal));
  auto coords = CC3VertexTextureCoordinates::vertexArrayWithName(name + "-Texture");
  coords->setElements(locations->elements());
  coords->setElementStride(sizeof(PictureVertex));
  coords->setElementCount(vertexCount);
  coords->setElementOffset(offsetof(PictureVertex, texCoord));
  auto indices = CC3VertexIndices::vertexArrayWithName(name + "-Indices");
  indices->setDrawingMode(GL_TRIANGLES);
  indices->allocateElements(GLuint(spans.size() * 6));

  const float perS = 1.0f / float(texture.pixelsWide()), perT = 1.0f / float(texture.pixelsHigh());
  GLuint next = 0, nextIndex = 0;
  for (const Span& s : spans) {
    const float left = float(s.left) * perS, right = float(s.right) * perS;
    const float top = float(s.top) * perT, bottom = float(s.bottom) * perT;
    const ccTex2F corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    for (int c = 0; c < 4; ++c) vertices[next + GLuint(c)] = map.vertex(corners[c]);
    next += 4;
  }
  // The triangles face the way the whole rectangle faces.
  const GLuint* order =
      map.facesNormal(vertices[0], vertices[1], vertices[2]) ? kForwards : kBackwards;
  for (GLuint quad = 0; quad < vertexCount; quad += 4)
    for (int k = 0; k < 6; ++k) indices->setIndex(quad + order[k], nextIndex++);

  auto mesh = CC3VertexArrayMeshModel::meshWithName(name);
  mesh->setInterleaveVertices(true);
  mesh->setVertexLocations(locations);
  mesh->setVertexNormals(normals);
  mesh->setVertexTextureCoordinates(coords);
  mesh->setVertexIndices(indices);
  return mesh;
}
