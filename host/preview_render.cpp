// Ray casting of the preview: a cube with rounded edges, found by sphere tracing its distance
// field, lit by a key and a fill light. The shader sees each hit point in the cube's own
// coordinates (X left/right, Y front/back, Z up/down, the cube spanning -1 to 1).
#include "host/preview_render.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec3 {
  float x, y, z;
};

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalize(Vec3 a) { return a * (1.0f / Length(a)); }
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The flat part of each face reaches kFlatHalf from the centre; the edges are rounded with
// kRounding, so the cube's outer half size is 1.
constexpr float kRounding = 0.28f;
constexpr float kFlatHalf = 1.0f - kRounding;

// The renderer's identifiers in the source and destination slots: the material a sample
// belongs to, and the mark of a destination that the shader has not written.
constexpr std::uint32_t kCubeMaterial = 1;
constexpr std::uint32_t kUnwritten = 0;

constexpr int kSamplesPerSide = 2;

// The part of p beyond the flat core, per axis; its length minus kRounding is the distance.
Vec3 BeyondCore(Vec3 p) {
  return {std::fmax(std::fabs(p.x) - kFlatHalf, 0.0f), std::fmax(std::fabs(p.y) - kFlatHalf, 0.0f),
          std::fmax(std::fabs(p.z) - kFlatHalf, 0.0f)};
}

float RoundedCubeDistance(Vec3 p) { return Length(BeyondCore(p)) - kRounding; }

// On the surface every point lies kRounding beyond the core, so the direction is never zero.
Vec3 RoundedCubeNormal(Vec3 p) {
  const Vec3 beyond = BeyondCore(p);
  return Normalize({std::copysign(beyond.x, p.x), std::copysign(beyond.y, p.y),
                    std::copysign(beyond.z, p.z)});
}

// Where the ray enters and leaves the cube's bounding box; false when it misses it.
bool BoundingInterval(Vec3 origin, Vec3 direction, float& enter, float& leave) {
  enter = 0.0f;
  leave = 1e30f;
  const float origins[3] = {origin.x, origin.y, origin.z};
  const float directions[3] = {direction.x, direction.y, direction.z};
  for (int axis = 0; axis < 3; ++axis) {
    if (directions[axis] == 0.0f) {
      if (std::fabs(origins[axis]) > 1.0f) return false;
      continue;
    }
    const float entryAt = (-std::copysign(1.0f, directions[axis]) - origins[axis]) / directions[axis];
    const float exitAt = (std::copysign(1.0f, directions[axis]) - origins[axis]) / directions[axis];
    enter = std::fmax(enter, entryAt);
    leave = std::fmin(leave, exitAt);
  }
  return enter <= leave;
}

bool HitRoundedCube(Vec3 origin, Vec3 direction, Vec3& hit) {
  constexpr int kMaxSteps = 128;
  constexpr float kCloseEnough = 1e-4f;
  float t, leave;
  if (!BoundingInterval(origin, direction, t, leave)) return false;
  for (int step = 0; step < kMaxSteps && t <= leave; ++step) {
    const Vec3 point = origin + direction * t;
    const float distance = RoundedCubeDistance(point);
    if (distance < kCloseEnough) {
      hit = point;
      return true;
    }
    t += distance;
  }
  return false;
}

struct Camera {
  Vec3 eye, forward, right, up;
  float halfWidth, halfHeight;  // of the image plane at distance 1
};

// Seen from the front right and above, so that the front, the right side and the top show.
Camera MakeCamera(int width, int height) {
  Camera camera;
  camera.eye = {3.1f, -4.6f, 3.3f};
  camera.forward = Normalize(Vec3{0.0f, 0.0f, -0.08f} - camera.eye);
  camera.right = Normalize(Cross(camera.forward, {0.0f, 0.0f, 1.0f}));
  camera.up = Cross(camera.right, camera.forward);
  // The shorter side of the image takes the field of view, so the cube always fits.
  constexpr float kHalfView = 0.29f;
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  camera.halfWidth = aspect >= 1.0f ? kHalfView * aspect : kHalfView;
  camera.halfHeight = aspect >= 1.0f ? kHalfView : kHalfView / aspect;
  return camera;
}

// The surface colour as the renderer lights it before the shader sees it.
std::array<float, 3> LitColour(const std::array<float, 3>& surface, Vec3 normal, Vec3 view) {
  const Vec3 key = Normalize({-0.3f, -0.9f, 1.4f});
  const Vec3 fill = Normalize({1.0f, 0.2f, 0.3f});
  constexpr float kAmbient = 0.24f, kKey = 0.66f, kFill = 0.2f, kShine = 60.0f;
  const float light =
      kAmbient + kKey * std::fmax(Dot(normal, key), 0.0f) + kFill * std::fmax(Dot(normal, fill), 0.0f);
  const Vec3 halfway = Normalize(key - view);
  const float highlight = kShine * std::pow(std::fmax(Dot(normal, halfway), 0.0f), 48.0f);
  std::array<float, 3> lit;
  for (int channel = 0; channel < 3; ++channel)
    lit[channel] = std::fmin(surface[channel] * light + highlight, 255.0f);
  return lit;
}

std::uint8_t ToChannel(float value) {
  if (!(value > 0.0f)) return 0;
  return value >= 255.0f ? 255 : static_cast<std::uint8_t>(value + 0.5f);
}

}  // namespace

SampleCounts RenderRows(const PreviewScene& scene, ProcedureFunction procedure,
                        const HostSamplerFunctions& samplers, int firstRow, int endRow,
                        RgbImage& image) {
  const Camera camera = MakeCamera(image.width, image.height);
  SampleCounts counts;
  for (int row = firstRow; row < endRow; ++row) {
    for (int column = 0; column < image.width; ++column) {
      std::array<float, 3> sum{};
      for (int sub = 0; sub < kSamplesPerSide * kSamplesPerSide; ++sub) {
        const float sx = column + (sub % kSamplesPerSide + 0.5f) / kSamplesPerSide;
        const float sy = row + (sub / kSamplesPerSide + 0.5f) / kSamplesPerSide;
        const float across = (2.0f * sx / image.width - 1.0f) * camera.halfWidth;
        const float down = (1.0f - 2.0f * sy / image.height) * camera.halfHeight;
        const Vec3 view = Normalize(camera.forward + camera.right * across + camera.up * down);
        Vec3 hit;
        std::array<float, 3> colour = scene.background;
        if (HitRoundedCube(camera.eye, view, hit)) {
          colour = LitColour(scene.surface, RoundedCubeNormal(hit), view);
          std::uint32_t destination = kUnwritten;
          procedure(0, 0, 0, hit.x, hit.y, hit.z, 0, 0, 0, &kCubeMaterial, 0, colour.data(), 0,
                    &destination, &samplers);
          ++counts.shaded;
          if (destination == kCubeMaterial) ++counts.changed;
        }
        for (int channel = 0; channel < 3; ++channel) sum[channel] += colour[channel];
      }
      std::uint8_t* pixel = image.Pixel(column, row);
      for (int channel = 0; channel < 3; ++channel)
        pixel[channel] = ToChannel(sum[channel] / (kSamplesPerSide * kSamplesPerSide));
    }
  }
  return counts;
}
