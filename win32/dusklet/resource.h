// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_DUSKLET 1
#define IDB_BANNER 101
