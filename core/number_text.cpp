// The one reader and the one writer of number text. Decimal conversion goes through
// std::from_chars / std::to_chars, which know nothing of the user's locale.
#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class NumberKind { None, Decimal, Infinity, NotANumber };

struct NumberToken {
  NumberKind kind = NumberKind::None;
  bool negative = false;
  const char* digits = nullptr;  // decimal text without a leading '+'
  const char* end = nullptr;
  // Decimal exponent of the leading significant digit, saturated; decides whether a
  // number outside the type's range overflows or underflows.
  long long magnitude = 0;
};

const char* SkipDigits(const char* p) {
  while (IsDigit(*p)) ++p;
  return p;
}

// Reads an exponent's digits, saturating far beyond any float's range.
long long ExponentValue(const char* p, const char* end) {
  long long value = 0;
  for (; p != end; ++p) value = value < 100000000 ? value * 10 + (*p - '0') : value;
  return value;
}

NumberToken ScanNumber(const char* p) {
  NumberToken token;
  while (IsBlank(*p)) ++p;
  const char* start = p;
  const bool hasSign = *p == '+' || *p == '-';
  token.negative = *p == '-';
  if (hasSign) {
    const char* word = p + 1;
    if (std::strncmp(word, "INF", 3) == 0 || std::strncmp(word, "NAN", 3) == 0) {
      token.kind = word[0] == 'I' ? NumberKind::Infinity : NumberKind::NotANumber;
      token.end = word + 3;
      return token;
    }
    ++p;
  }
  const char* integerBegin = p;
  const char* integerEnd = SkipDigits(integerBegin);
  const char* fractionBegin = integerEnd;
  const char* fractionEnd = fractionBegin;
  if (*integerEnd == '.') {
    fractionBegin = integerEnd + 1;
    fractionEnd = SkipDigits(fractionBegin);
  }
  if (integerEnd == integerBegin && fractionEnd == fractionBegin) return token;
  token.kind = NumberKind::Decimal;
  token.digits = *start == '+' ? start + 1 : start;
  token.end = fractionEnd;

  long long exponent = 0;
  if (*fractionEnd == 'e' || *fractionEnd == 'E') {
    const char* q = fractionEnd + 1;
    const bool negativeExponent = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    const char* exponentEnd = SkipDigits(q);
    if (exponentEnd != q) {
      exponent = ExponentValue(q, exponentEnd);
      if (negativeExponent) exponent = -exponent;
      token.end = exponentEnd;
    }
  }

  const char* first = integerBegin;
  while (first != integerEnd && *first == '0') ++first;
  if (first != integerEnd) {
    token.magnitude = exponent + (integerEnd - first);
  } else {
    const char* f = fractionBegin;
    while (f != fractionEnd && *f == '0') ++f;
    token.magnitude = exponent - (f - fractionBegin);
  }
  return token;
}

template <typename Real>
const char* ReadNumberAs(const char* text, Real& value) {
  const NumberToken token = ScanNumber(text);
  switch (token.kind) {
    case NumberKind::None:
      return nullptr;
    case NumberKind::Infinity:
      value = token.negative ? -std::numeric_limits<Real>::infinity()
                             : std::numeric_limits<Real>::infinity();
      return token.end;
    case NumberKind::NotANumber:
      value = std::copysign(std::numeric_limits<Real>::quiet_NaN(), token.negative ? -1 : 1);
      return token.end;
    case NumberKind::Decimal:
      break;
  }
  Real converted = 0;
  const std::from_chars_result result =
      std::from_chars(token.digits, token.end, converted, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    converted = token.magnitude > 0 ? std::numeric_limits<Real>::infinity() : Real(0);
    if (token.negative) converted = -converted;
  }
  value = converted;
  return token.end;
}

char* WriteNonFinite(char* first, float value) {
  const char* word = std::isnan(value) ? (std::signbit(value) ? "-NAN" : "+NAN")
                                       : (std::signbit(value) ? "-INF" : "+INF");
  std::memcpy(first, word, 4);
  return first + 4;
}

}  // namespace

const char* ReadNumber(const char* text, float& value) { return ReadNumberAs(text, value); }

const char* ReadNumber(const char* text, double& value) { return ReadNumberAs(text, value); }

char* WriteTwoDecimals(char* first, float value) {
  if (!std::isfinite(value)) return WriteNonFinite(first, value);
  return std::to_chars(first, first + kNumberTextCapacity - 1, static_cast<double>(value),
                       std::chars_format::fixed, 2)
      .ptr;
}

char* WriteExactFloat(char* first, float value) {
  if (!std::isfinite(value)) return WriteNonFinite(first, value);
  return std::to_chars(first, first + kNumberTextCapacity - 1, value,
                       std::chars_format::scientific)
      .ptr;
}
