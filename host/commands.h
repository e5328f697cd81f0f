// The stand-in renderer's subcommands, one file each. A new one is declared here and listed
// in main.cpp's table; arguments are those after the subcommand's name.
#pragma once

#include <span>

int RunPreview(std::span<char* const> arguments);
int RunBench(std::span<char* const> arguments);
int RunEdit(std::span<char* const> arguments);
int RunSheet(std::span<char* const> arguments);
int RunMorph(std::span<char* const> arguments);
