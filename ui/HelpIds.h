#pragma once
#include "framework/afxdefs.h"

// Control id and help number pairs for context help, ended by two zeros.
extern const DWORD kHelpIds[];
