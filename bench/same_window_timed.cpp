// The yardstick entered through bench_main.cpp, so that its steps are timed
// exactly as the launcher's are.
#define wWinMain LauncherMain
#include "same_window.cpp"
