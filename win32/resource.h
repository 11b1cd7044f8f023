// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_DUSKLET 1
#define IDB_BANNER 101
#define IDM_POPUP 201
#define IDM_EXIT 1001
#define IDM_ABOUT 1002
