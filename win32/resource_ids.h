#pragma once
// The pictures the Windows program carries as resources.

#define IDI_SHIP 1
#define IDB_CLEAR 101
#define IDB_EXIT 102
#define IDR_BACKGROUND 201
