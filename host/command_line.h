// The stand-in renderer's command line, shared by every subcommand: options of the form
// --name VALUE parsed from one table that also makes the --help text, value readers built
// on the project's number reader, and the exit codes and one-line error reports.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the work itself failed: a library, an export, a file
inline constexpr int kExitUsage = 2;    // the command line was wrong

// Prints "vael-host: message" as one line to stderr and returns exitCode.
int Report(int exitCode, std::string_view message);

struct Option {
  const char* name;       // with its dashes: "--size"
  const char* valueName;  // shown in the help, e.g. "WxH"
  std::string help;
  // Takes the option's value; false when the value is not acceptable.
  std::function<bool(const char* value)> apply;
};

enum class ParseOutcome { kRun, kHelpShown, kBadUsage };

// Applies every option in arguments (which follow the subcommand's name). --help prints the
// usage to stdout; a wrong option or value is reported to stderr.
ParseOutcome ParseOptions(std::string_view command, std::string_view summary,
                          std::span<char* const> arguments, std::span<const Option> options);

// --dll PATH, which every subcommand that loads a shader takes.
Option LibraryPathOption(std::string& path);

// --out PATH for a subcommand that writes an image; path holds the default, which the help shows.
Option OutputOption(std::string& path);

// --threads N, 1 to kMostThreads: how many threads render; count holds the default, which the
// help shows.
inline constexpr int kMostThreads = 64;
Option ThreadsOption(int& count);

// Takes the operands that come before the options (arguments that do not start with "--")
// off the front of arguments.
std::vector<std::string> TakeOperands(std::span<char* const>& arguments);

// Maps an outcome other than kRun to the subcommand's exit code.
int ExitCodeFor(ParseOutcome outcome);

// Value readers: the whole text must be the value, or they return false.
bool ReadFiniteNumber(const char* text, float& value);
bool ReadCount(const char* text, int minimum, int maximum, int& value);
// "320x240"
bool ReadImageSize(const char* text, int& width, int& height);
// "200,180,150", each channel 0 to 255
bool ReadColour(const char* text, std::array<float, 3>& colour);
// "0.1,0.3,0.5": one to kLongestNumberList finite numbers
inline constexpr std::size_t kLongestNumberList = 16;
bool ReadNumberList(const char* text, std::vector<float>& values);

// A float with two decimals, by the project's number writer.
std::string TwoDecimals(float value);
