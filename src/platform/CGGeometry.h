#pragma once
#include <cmath>

// 2D geometry in points, 32-bit floats.
struct CGPoint {
  float x = 0, y = 0;
  bool operator==(const CGPoint& o) const { return x == o.x && y == o.y; }
};
struct CGSize {
  float width = 0, height = 0;
  bool operator==(const CGSize& o) const { return width == o.width && height == o.height; }
};
struct CGRect {
  CGPoint origin;
  CGSize size;
  bool operator==(const CGRect& o) const { return origin == o.origin && size == o.size; }
};

inline constexpr CGPoint CGPointZero{0, 0};
inline constexpr CGSize CGSizeZero{0, 0};
inline constexpr CGRect CGRectZero{{0, 0}, {0, 0}};

inline CGPoint CGPointMake(float x, float y) {
  return {x, y};
}
inline CGSize CGSizeMake(float w, float h) {
  return {w, h};
}
inline CGRect CGRectMake(float x, float y, float w, float h) {
  return {{x, y}, {w, h}};
}

inline float CGRectGetMinX(const CGRect& r) {
  return r.origin.x;
}
inline float CGRectGetMaxX(const CGRect& r) {
  return r.origin.x + r.size.width;
}
inline float CGRectGetMinY(const CGRect& r) {
  return r.origin.y;
}
inline float CGRectGetMaxY(const CGRect& r) {
  return r.origin.y + r.size.height;
}
inline float CGRectGetMidX(const CGRect& r) {
  return r.origin.x + r.size.width / 2;
}
inline float CGRectGetMidY(const CGRect& r) {
  return r.origin.y + r.size.height / 2;
}
inline bool CGRectContainsPoint(const CGRect& r, const CGPoint& p) {
  return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) &&
         p.y < CGRectGetMaxY(r);
}
inline bool CGPointEqualToPoint(const CGPoint& a, const CGPoint& b) {
  return a == b;
}
inline bool CGSizeEqualToSize(const CGSize& a, const CGSize& b) {
  return a == b;
}
inline bool CGRectEqualToRect(const CGRect& a, const CGRect& b) {
  return a == b;
}

// 2D affine transform [a b 0; c d 0; tx ty 1], row-vector convention.
struct CGAffineTransform {
  float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};
inline constexpr CGAffineTransform CGAffineTransformIdentity{1, 0, 0, 1, 0, 0};
inline CGAffineTransform CGAffineTransformMake(float a, float b, float c, float d, float tx,
                                               float ty) {
  return {a, b, c, d, tx, ty};
}
inline CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t) {
  return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}
// t1 then t2.
inline CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1,
                                                 const CGAffineTransform& t2) {
  return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
          t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
          t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}
inline CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, float x, float y) {
  return CGAffineTransformConcat(CGAffineTransformMake(1, 0, 0, 1, x, y), t);
}
inline CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, float radians) {
  float s = std::sin(radians), c = std::cos(radians);
  return CGAffineTransformConcat(CGAffineTransformMake(c, s, -s, c, 0, 0), t);
}
inline CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, float sx, float sy) {
  return CGAffineTransformConcat(CGAffineTransformMake(sx, 0, 0, sy, 0, 0), t);
}
inline CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t) {
  float det = t.a * t.d - t.b * t.c;
  if (det == 0) return t;
  float inv = 1 / det;
  return {t.d * inv,
          -t.b * inv,
          -t.c * inv,
          t.a * inv,
          (t.c * t.ty - t.d * t.tx) * inv,
          (t.b * t.tx - t.a * t.ty) * inv};
}
inline CGRect CGRectApplyAffineTransform(const CGRect& r, const CGAffineTransform& t) {
  CGPoint p[4] = {CGPointApplyAffineTransform(r.origin, t),
                  CGPointApplyAffineTransform({CGRectGetMaxX(r), r.origin.y}, t),
                  CGPointApplyAffineTransform({r.origin.x, CGRectGetMaxY(r)}, t),
                  CGPointApplyAffineTransform({CGRectGetMaxX(r), CGRectGetMaxY(r)}, t)};
  float minX = p[0].x, maxX = p[0].x, minY = p[0].y, maxY = p[0].y;
  for (auto& q : p) {
    minX = std::fmin(minX, q.x);
    maxX = std::fmax(maxX, q.x);
    minY = std::fmin(minY, q.y);
    maxY = std::fmax(maxY, q.y);
  }
  return {{minX, minY}, {maxX - minX, maxY - minY}};
}
