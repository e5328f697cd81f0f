// Walks the PE headers of a module that is already loaded in this process.
#include "tests/support/import_patch.h"

#include <cstring>

namespace {

const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int index) {
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[index];
}

template <typename T>
T* At(HMODULE module, DWORD rva) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

}  // namespace

std::vector<std::string> ImportedDlls(HMODULE module) {
  std::vector<std::string> names;
  const IMAGE_DATA_DIRECTORY& imports = Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
  for (auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); entry->Name;
       ++entry)
    names.emplace_back(At<const char>(module, entry->Name));
  return names;
}

std::vector<std::string> ExportedNames(HMODULE module) {
  std::vector<std::string> names;
  const IMAGE_DATA_DIRECTORY& exports = Directory(module, IMAGE_DIRECTORY_ENTRY_EXPORT);
  auto* directory = At<IMAGE_EXPORT_DIRECTORY>(module, exports.VirtualAddress);
  auto* nameTable = At<DWORD>(module, directory->AddressOfNames);
  for (DWORD i = 0; i < directory->NumberOfNames; ++i)
    names.emplace_back(At<const char>(module, nameTable[i]));
  return names;
}

void* PatchImport(HMODULE module, const char* dllName, const char* functionName,
                  void* replacement) {
  const IMAGE_DATA_DIRECTORY& imports = Directory(module, IMAGE_DIRECTORY_ENTRY_IMPORT);
  for (auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); entry->Name;
       ++entry) {
    if (lstrcmpiA(At<const char>(module, entry->Name), dllName) != 0) continue;
    auto* names = At<IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk);
    auto* addresses = At<IMAGE_THUNK_DATA>(module, entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = At<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) != 0) continue;
      DWORD oldProtection = 0;
      VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &oldProtection);
      void* previous = reinterpret_cast<void*>(addresses->u1.Function);
      addresses->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
      VirtualProtect(&addresses->u1.Function, sizeof(void*), oldProtection, &oldProtection);
      return previous;
    }
  }
  return nullptr;
}
