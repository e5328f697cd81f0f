// Gradient noise summed over octaves (fractal noise), the kind of field a renderer offers
// its shaders. Deterministic: the lattice's permutation is fixed at compile time, so every
// run and every machine renders the same image.
#include "host/noise_samplers.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kLatticePeriod = 256;

// The classic doubled permutation of 0..255, shuffled by a fixed linear congruential sequence.
constexpr std::array<std::uint8_t, 2 * kLatticePeriod> MakePermutation() {
  std::array<std::uint8_t, kLatticePeriod> shuffled{};
  for (int i = 0; i < kLatticePeriod; ++i) shuffled[i] = static_cast<std::uint8_t>(i);
  std::uint32_t state = 0x5EED1234u;
  for (int i = kLatticePeriod - 1; i > 0; --i) {
    state = state * 1664525u + 1013904223u;
    const int j = static_cast<int>((state >> 8) % static_cast<std::uint32_t>(i + 1));
    const std::uint8_t kept = shuffled[i];
    shuffled[i] = shuffled[j];
    shuffled[j] = kept;
  }
  std::array<std::uint8_t, 2 * kLatticePeriod> doubled{};
  for (int i = 0; i < 2 * kLatticePeriod; ++i) doubled[i] = shuffled[i % kLatticePeriod];
  return doubled;
}

constexpr auto kPermutation = MakePermutation();

float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

float Mix(float t, float a, float b) { return a + t * (b - a); }

// The twelve edge directions of a cube, four of them twice, so that a hash picks one with a
// mask; a table rather than branches, which the hash would make unpredictable.
constexpr float kGradients[16][3] = {
    {1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1},  {-1, 0, 1},
    {1, 0, -1}, {-1, 0, -1}, {0, 1, 1}, {0, -1, 1},  {0, 1, -1}, {0, -1, -1},
    {1, 1, 0}, {0, -1, 1},  {-1, 1, 0}, {0, -1, -1}};

float Gradient(int hash, float x, float y, float z) {
  const float* g = kGradients[hash & 15];
  return g[0] * x + g[1] * y + g[2] * z;
}

// Beyond this a float has no fraction left, and converting it to an integer could overflow.
constexpr float kLargestDirect = 4194304.0f;

// Returns the lattice cell of a coordinate, wrapped into the permutation's period, and leaves
// the offset within the cell in coordinate. Coordinates that are not finite count as 0.
int Locate(float& coordinate) {
  if (!(std::fabs(coordinate) < kLargestDirect))
    coordinate = std::isfinite(coordinate) ? std::fmod(coordinate, float{kLatticePeriod}) : 0.0f;
  int whole = static_cast<int>(coordinate);
  if (coordinate < static_cast<float>(whole)) --whole;
  coordinate -= static_cast<float>(whole);
  return whole & (kLatticePeriod - 1);
}

// Gradient noise, about -1 to 1, zero on the lattice points.
float GradientNoise(float x, float y, float z) {
  const int cx = Locate(x), cy = Locate(y), cz = Locate(z);
  const float u = Fade(x), v = Fade(y), w = Fade(z);
  const auto& p = kPermutation;
  const int a = p[cx] + cy, aa = p[a] + cz, ab = p[a + 1] + cz;
  const int b = p[cx + 1] + cy, ba = p[b] + cz, bb = p[b + 1] + cz;
  return Mix(w,
             Mix(v, Mix(u, Gradient(p[aa], x, y, z), Gradient(p[ba], x - 1, y, z)),
                 Mix(u, Gradient(p[ab], x, y - 1, z), Gradient(p[bb], x - 1, y - 1, z))),
             Mix(v, Mix(u, Gradient(p[aa + 1], x, y, z - 1), Gradient(p[ba + 1], x - 1, y, z - 1)),
                 Mix(u, Gradient(p[ab + 1], x, y - 1, z - 1),
                     Gradient(p[bb + 1], x - 1, y - 1, z - 1))));
}

struct FractalField {
  float frequency;
  int octaves;
  float offset;  // keeps the two fields, and the octaves of one field, uncorrelated
  float centre;  // the field's value where the noise sum is 0
  float spread;  // how far a noise sum of 1 moves it
  float ceiling;  // where the field saturates: clear sky between the clouds
};

// Octaves at not quite double frequency and half amplitude, normalised to the first's range,
// then mapped into the field's range, from 0 to its ceiling.
float SampleField(const FractalField& field, float x, float y, float z) {
  float sum = 0.0f, amplitude = 1.0f, total = 0.0f, frequency = field.frequency;
  for (int octave = 0; octave < field.octaves; ++octave) {
    const float shift = field.offset * static_cast<float>(octave + 1);
    sum += amplitude * GradientNoise(x * frequency + shift, y * frequency - shift, z * frequency + 0.5f * shift);
    total += amplitude;
    amplitude *= 0.5f;
    frequency *= 2.03f;
  }
  const float value = field.centre + field.spread * (sum / total);
  return value < 0.0f ? 0.0f : (value > field.ceiling ? field.ceiling : value);
}

constexpr FractalField kBroadField = {0.2f, 4, 17.31f, 0.9f, 3.2f, 1.1f};
constexpr FractalField kFineField = {0.45f, 4, 41.17f, 0.98f, 0.9f, 1.1f};

}  // namespace

void SampleBroadNoise(float x, float y, float z, float* result) {
  *result = SampleField(kBroadField, x, y, z);
}

void SampleFineNoise(float x, float y, float z, float* result) {
  *result = SampleField(kFineField, x, y, z);
}
