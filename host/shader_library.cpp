// Loading a shader DLL the way the renderer does: LoadLibraryA on the path, GetProcAddress on
// each exported name, FreeLibrary when the use ends.
#include "host/shader_library.h"

namespace {

// Keeps the first name that the library does not export in missing.
template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function, const char*& missing) {
  // FARPROC passes through the generic function pointer type, which any other converts to.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  if (function == nullptr && missing == nullptr) missing = name;
}

}  // namespace

std::unique_ptr<ShaderLibrary> ShaderLibrary::Open(const std::string& path, std::string& error) {
  const HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    error = "cannot load shader library '" + path + "' (Windows error " +
            std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  std::unique_ptr<ShaderLibrary> library(new ShaderLibrary(module));
  const char* missing = nullptr;
  Resolve(module, "_ExternalTextureStartup", library->startup, missing);
  Resolve(module, "_ExternalTextureMorph", library->morph, missing);
  Resolve(module, "_ExternalTextureProcedure", library->procedure, missing);
  Resolve(module, "_ExternalTextureClose", library->close, missing);
  if (missing != nullptr) {
    error = "shader library '" + path + "' has no export " + missing;
    return nullptr;
  }
  const char* optional = nullptr;
  Resolve(module, "_SetExternalParameters", library->setParameters, optional);
  return library;
}

ShaderLibrary::~ShaderLibrary() { FreeLibrary(module_); }

std::string LibraryBesideProgram() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  folder.erase(slash == std::string::npos ? 0 : slash + 1);
  return folder + "vael.dll";
}

std::string ParameterString(const ShaderParameters& parameters) {
  char text[kParameterTextCapacity];
  const std::size_t length = FormatParameters(parameters, ParameterText(text));
  return std::string(text, length);
}

std::string DefaultParameterText() { return ParameterString(ShaderParameters{}); }
