// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_DESKBROOM 1
#define IDI_HOTKEYS 2
