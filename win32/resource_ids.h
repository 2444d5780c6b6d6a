#pragma once
// The pictures the Windows program carries as resources.

// Each picture at 100 %; the one drawn for 150 % is 10 on, for 200 % 20 on.

#define IDI_SHIP 1
#define IDB_CLEAR 101
#define IDB_EXIT 102
#define IDR_BACKGROUND 201
#define PICTURE_AT_150 10
#define PICTURE_AT_200 20
