// The per-sample work: no allocation, no text, no calls but the two samplers.
// Renderers may run with floating-point traps unmasked, so every operation that could
// raise invalid-operation or divide-by-zero is either guarded or written out quietly.
// Only quiet comparisons (isless and friends) meet values that may be NaN.
#include "core/shade_sample.h"

#include <cmath>
#include <limits>

namespace {

// With every scale at 1 the samplers see the point magnified five times.
constexpr double kPatternUnit = 0.2;

// Doubles of this magnitude and more round to infinity as floats.
constexpr double kFloatOverflowEdge = 0x1.ffffffp+127;

constexpr double kQuietNaN = std::numeric_limits<double>::quiet_NaN();

bool ScaleCoordinate(float coordinate, float scale, float& scaled) {
  const double divisor = kPatternUnit * scale;
  // A zero or NaN scale gives no coordinate; an infinite one gives 0.
  if (!std::isfinite(coordinate) || !std::islessgreater(divisor, 0.0)) return false;
  const double quotient = coordinate / divisor;
  if (!std::isless(quotient, kFloatOverflowEdge) || !std::isgreater(quotient, -kFloatOverflowEdge))
    return false;
  scaled = static_cast<float>(quotient);
  return true;
}

// IEEE results, but an infinity meeting a zero, or two opposite infinities, give NaN
// without raising the invalid-operation exception.
double QuietProduct(double a, double b) {
  if ((std::isinf(a) && b == 0.0) || (std::isinf(b) && a == 0.0)) return kQuietNaN;
  return a * b;
}

double QuietSum(double a, double b) {
  if (std::isinf(a) && std::isinf(b) && a != b) return kQuietNaN;
  return a + b;
}

// Returns false where the sample is to be left alone. Below the threshold the weight is the
// coverage itself; in the band above it the coverage is rescaled by threshold + sharpness.
bool CloudWeight(float coverage, float threshold, float sharpness, float& weight) {
  if (!std::isgreaterequal(coverage, threshold)) {
    weight = coverage;
    return true;
  }
  const double band = QuietSum(threshold, sharpness);
  if (!std::isless(coverage, band) || band == 0.0) return false;
  // coverage >= threshold and coverage < band rule out two infinities here.
  weight = static_cast<float>(coverage / band);
  return true;
}

// Products and sums of finite floats, formed in double, can neither overflow nor meet an
// infinity: the common case skips the written-out IEEE rules. A sum of magnitudes is finite
// exactly when every term is (a float overflow only sends a finite case the long way), and
// adding magnitudes cannot raise invalid-operation.
void BlendColour(float colour[3], const ShaderParameters& parameters, float weight) {
  const float cloud[3] = {parameters.red, parameters.green, parameters.blue};
  const double kept = 1.0 - weight;
  const float magnitudes = (std::fabs(weight) + std::fabs(colour[0])) +
                           (std::fabs(colour[1]) + std::fabs(colour[2])) +
                           ((std::fabs(cloud[0]) + std::fabs(cloud[1])) + std::fabs(cloud[2]));
  const bool finite = std::isless(magnitudes, std::numeric_limits<float>::infinity());
  if (finite) {
    for (int channel = 0; channel < 3; ++channel)
      colour[channel] = static_cast<float>(kept * cloud[channel] + double{weight} * colour[channel]);
  } else {
    for (int channel = 0; channel < 3; ++channel)
      colour[channel] = static_cast<float>(
          QuietSum(QuietProduct(kept, cloud[channel]), QuietProduct(weight, colour[channel])));
  }
}

}  // namespace

int ShadeSample(const ShaderParameters& parameters, float x, float y, float z, float colour[3],
                const std::uint32_t* source, std::uint32_t* destination,
                const HostSamplerFunctions& samplers) {
  float scaledX, scaledY, scaledZ;
  if (!ScaleCoordinate(x, parameters.xScale, scaledX) ||
      !ScaleCoordinate(y, parameters.yScale, scaledY) ||
      !ScaleCoordinate(z, parameters.zScale, scaledZ))
    return 1;

  float b = 0.0f;
  float a = 0.0f;
  samplers.sampleB(scaledX, scaledY, scaledZ, &b);
  samplers.sampleA(scaledX, scaledY, scaledZ, &a);

  const float coverage = static_cast<float>(QuietProduct(a, b));
  float weight;
  if (!CloudWeight(coverage, parameters.threshold, parameters.sharpness, weight)) return 1;

  BlendColour(colour, parameters, weight);
  *destination = *source;
  return 1;
}
