// Identifiers of the program's own resources, shared by the resource script and the code.
#pragma once

// The program's icon: the lowest icon identifier, so Explorer shows it for the file too.
#define IDI_TAVREL 1
