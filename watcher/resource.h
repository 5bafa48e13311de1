// Resource ids of the shutdown watcher; shared by _Dorwick.rc and the C++ code.
#pragma once

#define IDD_SHUTDOWN_WATCHER 102
#define IDI_SHUTDOWN_WATCHER 128

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
