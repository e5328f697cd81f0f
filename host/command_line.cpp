// Option parsing for the stand-in renderer. Numbers go through the project's one reader,
// so a command line means the same whatever the user's locale.
#include "host/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>

#include "core/number_text.h"

int Report(int exitCode, std::string_view message) {
  std::cerr << "vael-host: " << message << '\n';
  return exitCode;
}

namespace {

void PrintUsage(std::string_view command, std::string_view summary,
                std::span<const Option> options) {
  std::cout << "usage: vael-host " << command << " [options]\n" << summary << "\n\noptions:\n";
  for (const Option& option : options) {
    const std::string head = std::string(option.name) + ' ' + option.valueName;
    std::cout << "  " << head << std::string(head.size() < 24 ? 24 - head.size() : 1, ' ')
              << option.help << '\n';
  }
  std::cout << "  --help                  shows this text\n";
}

const Option* FindOption(std::span<const Option> options, const char* name) {
  for (const Option& option : options)
    if (std::strcmp(option.name, name) == 0) return &option;
  return nullptr;
}

// Reads a finite number at text; returns where it ended, or nullptr.
const char* ReadFiniteAt(const char* text, double& value) {
  const char* end = ReadNumber(text, value);
  return end != nullptr && std::isfinite(value) ? end : nullptr;
}

const char* ReadIntegerAt(const char* text, int minimum, int maximum, int& value) {
  double number = 0.0;
  const char* end = ReadFiniteAt(text, number);
  if (end == nullptr || number != std::floor(number) || number < minimum || number > maximum)
    return nullptr;
  value = static_cast<int>(number);
  return end;
}

}  // namespace

ParseOutcome ParseOptions(std::string_view command, std::string_view summary,
                          std::span<char* const> arguments, std::span<const Option> options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const char* name = arguments[i];
    if (std::strcmp(name, "--help") == 0) {
      PrintUsage(command, summary, options);
      return ParseOutcome::kHelpShown;
    }
    const std::string context = std::string(command) + ": ";
    const Option* option = FindOption(options, name);
    if (option == nullptr) {
      Report(kExitUsage, context + "unknown option '" + name + "' (see vael-host " +
                             std::string(command) + " --help)");
      return ParseOutcome::kBadUsage;
    }
    if (i + 1 == arguments.size()) {
      Report(kExitUsage, context + name + " needs a value: " + option->valueName);
      return ParseOutcome::kBadUsage;
    }
    const char* value = arguments[++i];
    if (!option->apply(value)) {
      Report(kExitUsage, context + "bad value '" + value + "' for " + name + " (expected " +
                             option->valueName + ")");
      return ParseOutcome::kBadUsage;
    }
  }
  return ParseOutcome::kRun;
}

Option LibraryPathOption(std::string& path) {
  return {"--dll", "PATH", "the shader library (default: vael.dll beside vael-host.exe)",
          [&path](const char* value) {
            path = value;
            return true;
          }};
}

Option OutputOption(std::string& path) {
  return {"--out", "PATH",
          "the image to write: PNG, or BMP when PATH ends with .bmp (" + path + ")",
          [&path](const char* value) {
            path = value;
            return true;
          }};
}

Option ThreadsOption(int& count) {
  return {"--threads", "N",
          "how many threads render (one per core, here " + std::to_string(count) + ")",
          [&count](const char* value) { return ReadCount(value, 1, kMostThreads, count); }};
}

std::vector<std::string> TakeOperands(std::span<char* const>& arguments) {
  std::vector<std::string> operands;
  while (!arguments.empty() && std::strncmp(arguments.front(), "--", 2) != 0) {
    operands.emplace_back(arguments.front());
    arguments = arguments.subspan(1);
  }
  return operands;
}

int ExitCodeFor(ParseOutcome outcome) {
  return outcome == ParseOutcome::kBadUsage ? kExitUsage : kExitSuccess;
}

bool ReadFiniteNumber(const char* text, float& value) {
  double number = 0.0;
  const char* end = ReadFiniteAt(text, number);
  if (end == nullptr || *end != '\0' || std::fabs(number) > 3.0e38) return false;
  value = static_cast<float>(number);
  return true;
}

bool ReadCount(const char* text, int minimum, int maximum, int& value) {
  const char* end = ReadIntegerAt(text, minimum, maximum, value);
  return end != nullptr && *end == '\0';
}

bool ReadImageSize(const char* text, int& width, int& height) {
  constexpr int kLargest = 16384;
  const char* end = ReadIntegerAt(text, 1, kLargest, width);
  if (end == nullptr || (*end != 'x' && *end != 'X')) return false;
  end = ReadIntegerAt(end + 1, 1, kLargest, height);
  return end != nullptr && *end == '\0';
}

bool ReadNumberList(const char* text, std::vector<float>& values) {
  std::vector<float> read;
  while (read.size() < kLongestNumberList) {
    double number = 0.0;
    text = ReadFiniteAt(text, number);
    if (text == nullptr || std::fabs(number) > 3.0e38) return false;
    read.push_back(static_cast<float>(number));
    if (*text == '\0') {
      values = read;
      return true;
    }
    if (*text++ != ',') return false;
  }
  return false;
}

bool ReadColour(const char* text, std::array<float, 3>& colour) {
  std::vector<float> read;
  if (!ReadNumberList(text, read) || read.size() != colour.size()) return false;
  for (const float channel : read)
    if (channel < 0.0f || channel > 255.0f) return false;
  std::copy(read.begin(), read.end(), colour.begin());
  return true;
}

std::string TwoDecimals(float value) {
  char text[kNumberTextCapacity];
  return std::string(text, WriteTwoDecimals(text, value));
}
