#pragma once
// The radio group is shared by several windows.
#include "ui/RadioGroup.h"
