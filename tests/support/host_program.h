// vael-host.exe run as a user runs it, from a test under Wine: its command line, its exit code
// and its output, and scratch files for the images it writes, decoded for inspection.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The build hands over Unix paths; Wine maps the Unix root to drive Z:.
std::string WindowsPath(std::string path);

// A file in the temporary folder, named for the running test and a tag so that parallel
// tests never share one, and removed afterwards.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& suffix);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct HostRun {
  DWORD exitCode = 0;
  std::string output;  // stdout and stderr together
};

// Runs vael-host.exe with arguments; whileRunning, if given, gets the process id as soon as
// the program has started (to drive its windows). A run that has not ended a minute after
// that is killed and fails the test.
HostRun RunHost(const std::vector<std::string>& arguments,
                const std::function<void(DWORD processId)>& whileRunning = nullptr);

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct DecodedImage {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // rows top to bottom

  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool SameAs(const DecodedImage& other) const {
    return width == other.width && height == other.height && pixels == other.pixels;
  }
};

// Decodes a PNG or BMP; a file that does not decode fails the test and gives an empty image.
DecodedImage LoadImage(const std::string& path);

struct Place {
  int x, y;
};

// Every place where picture appears pixel for pixel in image.
std::vector<Place> FindPicture(const DecodedImage& image, const DecodedImage& picture);

// The part of image from (x, y), width by height pixels, clipped to the image.
DecodedImage Crop(const DecodedImage& image, int x, int y, int width, int height);

// Pixels that differ from the colour most frequent in image: text drawn on a plain ground.
std::size_t PixelsOffGround(const DecodedImage& image);
