// The plug-in's process-wide state: the one parameter set shared by every material, and the
// module handle through which the dialog template and picture are found in this library.
#pragma once

#include <windows.h>

#include "core/shader_parameters.h"

extern ShaderParameters shaderParameters;
extern HINSTANCE moduleHandle;
