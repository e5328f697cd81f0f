// Replaces one imported function of a loaded module by rewriting its import address table,
// so that a test sees exactly what the plug-in passes to Windows (message boxes, brushes).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Returns the previous entry, or null when the module does not import that function.
void* PatchImport(HMODULE module, const char* dllName, const char* functionName,
                  void* replacement);

// The names of the DLLs that a loaded module imports from.
std::vector<std::string> ImportedDlls(HMODULE module);

// The names that a loaded module exports.
std::vector<std::string> ExportedNames(HMODULE module);
