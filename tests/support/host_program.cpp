// Output goes to a file rather than a pipe: a pipe's reader would have to run beside the
// program, and a program that stalls must still be killed after the timeout.
#include "tests/support/host_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

ScratchFile::ScratchFile(const std::string& suffix) {
  static int made = 0;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  path_ = std::string(folder) + "vael-host-" + test->test_suite_name() + "-" + test->name() +
          "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made) + suffix;
  std::replace(path_.begin() + static_cast<std::ptrdiff_t>(std::string(folder).size()),
               path_.end(), '/', '-');
  DeleteFileA(path_.c_str());
}

ScratchFile::~ScratchFile() { DeleteFileA(path_.c_str()); }

HostRun RunHost(const std::vector<std::string>& arguments,
                const std::function<void(DWORD processId)>& whileRunning) {
  ScratchFile outputFile(".txt");
  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  const HANDLE output = CreateFileA(outputFile.path().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(output, INVALID_HANDLE_VALUE);
  std::string commandLine = '"' + WindowsPath(VAEL_HOST_PATH) + '"';
  for (const std::string& argument : arguments) commandLine += " \"" + argument + '"';

  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process = {};
  HostRun run;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    CloseHandle(output);
    return run;
  }
  CloseHandle(output);
  if (whileRunning) whileRunning(process.dwProcessId);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 10000);
    ADD_FAILURE() << "vael-host did not end within a minute: " << commandLine;
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ifstream text(outputFile.path(), std::ios::binary);
  std::ostringstream read;
  read << text.rdbuf();
  run.output = read.str();
  return run;
}

DecodedImage LoadImage(const std::string& path) {
  DecodedImage image;
  int channels = 0;
  stbi_uc* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
  if (data == nullptr) {
    ADD_FAILURE() << "cannot decode " << path << ": " << stbi_failure_reason();
    return {};
  }
  for (int i = 0; i < image.width * image.height; ++i)
    image.pixels.push_back({data[3 * i], data[3 * i + 1], data[3 * i + 2]});
  stbi_image_free(data);
  return image;
}

namespace {

bool PictureAt(const DecodedImage& image, const DecodedImage& picture, int x, int y) {
  for (int row = 0; row < picture.height; ++row)
    if (!std::equal(&picture.At(0, row), &picture.At(0, row) + picture.width, &image.At(x, y + row)))
      return false;
  return true;
}

}  // namespace

std::vector<Place> FindPicture(const DecodedImage& image, const DecodedImage& picture) {
  std::vector<Place> places;
  if (picture.pixels.empty()) return places;
  for (int y = 0; y + picture.height <= image.height; ++y)
    for (int x = 0; x + picture.width <= image.width; ++x)
      if (PictureAt(image, picture, x, y)) places.push_back({x, y});
  return places;
}

DecodedImage Crop(const DecodedImage& image, int x, int y, int width, int height) {
  DecodedImage part;
  part.width = std::max(0, std::min(width, image.width - x));
  part.height = std::max(0, std::min(height, image.height - y));
  for (int row = 0; row < part.height; ++row)
    for (int column = 0; column < part.width; ++column)
      part.pixels.push_back(image.At(x + column, y + row));
  return part;
}

std::size_t PixelsOffGround(const DecodedImage& image) {
  std::map<std::tuple<int, int, int>, std::size_t> counts;
  for (const Rgb& p : image.pixels) ++counts[{p.r, p.g, p.b}];
  std::size_t ground = 0;
  for (const auto& [colour, count] : counts) ground = std::max(ground, count);
  return image.pixels.size() - ground;
}
