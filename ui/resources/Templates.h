#pragma once
#include "framework/DialogTemplate.h"

extern const DialogTemplate kMainTemplate;
extern const DialogTemplate kAboutTemplate;

// Makes the templates and the string table known to the framework.
void RegisterVarnokResources();
