// A watcher that never creates its ready mutex: Quillo must still end.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
